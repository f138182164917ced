// The registry, the owner's name, text at the boundary, and the hooks that stand in
// for message boxes, sounds, help and file dialogs.
#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/ui/cursor.h"
#include "platform/ui/filedialog.h"
#include "platform/ui/help.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/owner.h"
#include "platform/ui/registry.h"
#include "platform/ui/sound.h"
#include "platform/ui/text.h"
#include "temp_root.h"

#include <QSettings>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

using namespace platform;

namespace {
const char* SETTINGS_KEY = "software\\Tallowmere\\TallowmereChess\\Settings";
}

TEST(Registry, ValuesSurviveAFreshReadOfACopiedFile) {
    TempRoot root;
    registryReopen();
    EXPECT_FALSE(registryKeyExists(SETTINGS_KEY));
    const int32_t level = -12345;
    const char book[] = "\\My documents\\zorbook.gbk";
    const unsigned char block[] = {0, 1, 2, 0, 255, 10, 13};
    ASSERT_TRUE(registryWrite(SETTINGS_KEY, "IDC_LEVEL", RegistryType::dword, &level, 4));
    ASSERT_TRUE(
        registryWrite(SETTINGS_KEY, "Bookfilename", RegistryType::binary, book, sizeof book - 1));
    ASSERT_TRUE(registryWrite(SETTINGS_KEY, "Block", RegistryType::binary, block, sizeof block));
    ASSERT_TRUE(registryWrite(SETTINGS_KEY, "Empty", RegistryType::binary, nullptr, 0));
    EXPECT_FALSE(registryWrite(SETTINGS_KEY, "Short", RegistryType::dword, &level, 2));
    EXPECT_TRUE(registryKeyExists(SETTINGS_KEY));
    EXPECT_TRUE(fileExists(root.path + "config/Tallowmere/TallowmereChess.ini"));

    // Another process would read the file itself: a copy read afresh under another root
    // shows what it would see.
    const std::string original = registryFilePath();
    TempRoot fresh;
    std::filesystem::create_directories(fresh.path + "config/Tallowmere");
    std::filesystem::copy_file(original, registryFilePath());
    registryReopen();

    struct Case {
        const char* name;
        uint32_t capacity;
        bool found;
        std::string bytes;
        RegistryType type;
    };
    const RegistryType binary = RegistryType::binary;
    const Case cases[] = {
        {"IDC_LEVEL", 4, true, std::string("\xc7\xcf\xff\xff", 4), RegistryType::dword},
        {"Bookfilename", 1024, true, std::string(book), binary},
        {"Bookfilename", 5, false, "", binary}, // larger than the buffer
        {"Block", 7, true, std::string(reinterpret_cast<const char*>(block), 7), binary},
        {"Empty", 16, true, "", binary},
        {"Missing", 16, false, "", binary},
        {"idc_level", 4, false, "", binary}, // names keep their case
    };
    for (const Case& c : cases) {
        char buffer[1024] = {};
        uint32_t size = c.capacity;
        RegistryType type = RegistryType::text;
        EXPECT_EQ(registryRead(SETTINGS_KEY, c.name, buffer, &size, &type), c.found) << c.name;
        if (c.found) {
            EXPECT_EQ(std::string(buffer, size), c.bytes) << c.name;
            EXPECT_EQ(type, c.type) << c.name;
        }
    }
    EXPECT_FALSE(registryWrite(SETTINGS_KEY, "Typed", RegistryType::text, "abc", 3))
        << "text is only ever typed into the file";
    uint32_t size = 4;
    int32_t value = 0;
    EXPECT_FALSE(registryRead("software\\Nobody", "IDC_LEVEL", &value, &size));
    EXPECT_TRUE(registryDeleteValue(SETTINGS_KEY, "Block"));
    EXPECT_FALSE(registryDeleteValue(SETTINGS_KEY, "Block"));
    registryReopen();
}

TEST(Registry, AHandEditedNumberReadsAsFourBytesAndWordsAsText) {
    TempRoot root;
    registryReopen();
    const int32_t one = 1;
    ASSERT_TRUE(registryWrite(SETTINGS_KEY, "IDC_CBSOUND", RegistryType::dword, &one, 4));
    {
        QSettings file(QString::fromStdString(registryFilePath()), QSettings::IniFormat);
        file.setValue("software/Tallowmere/TallowmereChess/Settings/IDC_CBSOUND", "0");
        file.sync();
    }
    registryReopen();
    int32_t value = 7;
    uint32_t size = 4;
    RegistryType type = RegistryType::binary;
    ASSERT_TRUE(registryRead(SETTINGS_KEY, "IDC_CBSOUND", &value, &size, &type));
    EXPECT_EQ(value, 0);
    EXPECT_EQ(type, RegistryType::dword);
    {
        QSettings file(QString::fromStdString(registryFilePath()), QSettings::IniFormat);
        file.setValue("software/Tallowmere/TallowmereChess/Settings/IDC_CBSOUND", "off");
        file.sync();
    }
    registryReopen();
    char text[8] = {};
    size = sizeof text;
    ASSERT_TRUE(registryRead(SETTINGS_KEY, "IDC_CBSOUND", text, &size, &type));
    EXPECT_EQ(std::string(text, size), "off");
    EXPECT_EQ(type, RegistryType::text);
    registryReopen();
}

TEST(Owner, TheRegistryNameComesFirstThenTheAccount) {
    TempRoot root;
    registryReopen();
    const std::string fromAccount = deviceOwnerName();
    EXPECT_FALSE(fromAccount.empty());
    const char owner[] = "Ann Example\0Room 4";
    ASSERT_TRUE(
        registryWrite("ControlPanel\\Owner", "Owner", RegistryType::binary, owner, sizeof owner));
    EXPECT_EQ(deviceOwnerName(), "Ann Example");
    ASSERT_TRUE(registryWrite("ControlPanel\\Owner", "Owner", RegistryType::binary, "", 0));
    EXPECT_EQ(deviceOwnerName(), fromAccount);
    registryReopen();
}

TEST(Text, ValidUtf8StaysOtherBytesAreWindows1252) {
    struct Case {
        const char* bytes;
        QString wide;
    };
    const Case cases[] = {
        {"plain", QStringLiteral("plain")},
        {"isn\xb4t", QString::fromUtf8("isn\xc2\xb4t")},
        {"Caf\xc3\xa9", QString::fromUtf8("Caf\xc3\xa9")},
        {"\x80 \x93x\x94", QString::fromUtf8("\xe2\x82\xac \xe2\x80\x9cx\xe2\x80\x9d")},
        {"\xc3", QString::fromUtf8("\xc3\x83")}, // a cut-off sequence is not UTF-8
        {"", QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(widen(c.bytes), c.wide) << c.bytes;
    }
    EXPECT_EQ(narrow(QString::fromUtf8("\xc3\xa9")), "\xc3\xa9");
    EXPECT_EQ(widen(static_cast<const char*>(nullptr)), QString());
}

TEST(Hooks, MessageBoxesSoundsHelpAndFileDialogsAnswerScripted) {
    std::vector<std::string> seen;
    setMessageBoxHook([&](const std::string& text, const std::string& caption, unsigned flags) {
        seen.push_back(caption + ": " + text + " " + std::to_string(flags));
        return IDCANCEL;
    });
    EXPECT_EQ(
        messageBox(nullptr, "Do you really want a new game ?", "Tallowmere Chess", MB_OKCANCEL),
        IDCANCEL);
    setMessageBoxHook(nullptr);

    setSoundHook([&](const std::string& name, unsigned flags) {
        seen.push_back("sound " + name + " " + std::to_string(flags));
    });
    playSound("Default", SND_ALIAS | SND_ASYNC);
    playSound("/x/move4.wav", SND_ASYNC | SND_NODEFAULT);
    setSoundHook(nullptr);
    playSound("/nonexistent/move1.wav", SND_ASYNC | SND_NODEFAULT); // silent, no failure
    // The build puts the sounds beside the executables; no audio device is no error.
    const std::string moveSound = executableFolder() + "move1.wav";
    EXPECT_TRUE(fileExists(moveSound));
    playSound(moveSound.c_str(), SND_ASYNC | SND_NODEFAULT);
    playSound(moveSound.c_str(), SND_ASYNC | SND_NODEFAULT);

    setHelpHook([&](const std::string& request) { seen.push_back("help " + request); });
    showHelp("TallowmereChess.htm#Promotion");
    setHelpHook(nullptr);

    setFileDialogHook([&](const FileDialogRequest& request, std::string* path) {
        seen.push_back("file " + request.title + " " + request.pattern);
        *path = "/tmp/game.pgn";
        return true;
    });
    FileDialogRequest request;
    request.title = "Select file";
    request.pattern = "*.pgn";
    std::string path;
    EXPECT_TRUE(getFileName(nullptr, request, &path));
    EXPECT_EQ(path, "/tmp/game.pgn");
    setFileDialogHook(nullptr);

    EXPECT_EQ(seen, (std::vector<std::string>{
                        "Tallowmere Chess: Do you really want a new game ? 1",
                        "sound Default " + std::to_string(SND_ALIAS | SND_ASYNC),
                        "sound /x/move4.wav " + std::to_string(SND_ASYNC | SND_NODEFAULT),
                        "help TallowmereChess.htm#Promotion", "file Select file *.pgn"}));
}

TEST(Cursor, TheWaitCursorGivesBackTheOneBefore) {
    EXPECT_EQ(currentCursor(), Cursor::arrow);
    const Cursor before = setCursor(Cursor::wait);
    EXPECT_EQ(before, Cursor::arrow);
    EXPECT_EQ(currentCursor(), Cursor::wait);
    // Asking twice for the wait cursor needs one restore, not two.
    EXPECT_EQ(setCursor(Cursor::wait), Cursor::wait);
    EXPECT_EQ(setCursor(before), Cursor::wait);
    EXPECT_EQ(currentCursor(), Cursor::arrow);
}

TEST(Help, TheViewerOpensAtEveryAnchorOfTheHelpFile) {
    for (const char* anchor : {"Main_Contents", "About", "Promotion", "Options", "GameList",
                               "GameDetails", "SaveGame", "GameMoves", "SetupBoard"}) {
        const std::string request = std::string("TallowmereChess.htm#") + anchor;
        EXPECT_TRUE(showHelp(request.c_str())) << anchor;
        EXPECT_EQ(helpShown(), request);
    }
    QByteArray page;
    EXPECT_FALSE(showHelp("TallowmereChess.htm#NoSuchPart"));
    EXPECT_EQ(helpShown(), "TallowmereChess.htm#NoSuchPart"); // open, at the start
    EXPECT_FALSE(showHelp("Missing.htm#About"));
    EXPECT_FALSE(showHelp("../help/TallowmereChess.htm"));
}
