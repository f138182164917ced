// The settings store over the registry file: every type and list survives a fresh read
// of the file, missing values keep the caller's defaults, and a damaged or unwritable
// file reads as missing values without harm.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "base/text.h"
#include "settings/option_keys.h"
#include "settings/registry_settings.h"
#include "settings_root.h"

namespace {

std::string bytesOf(size_t count, char first) {
    std::string bytes;
    for (size_t i = 0; i < count; ++i) {
        bytes += char(first + i % 26);
    }
    return bytes;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
}

// Every reader of the store on one name; true when any of them found a value, and
// each output keeps its sentinel when its reader found nothing.
struct EveryReader {
    bool found = false;
    bool flag = true;
    int32_t number = -77;
    double real = -7.5;
    CText text = "default";
    char block[8] = {'d', 'e', 'f', 'a', 'u', 'l', 't', 0};
    int32_t list[2] = {-77, -77};

    void read(CSettings& settings, const char* name) {
        int32_t size = sizeof block;
        int32_t count = 2;
        bool bools[2] = {true, true};
        double reals[2] = {-7.5, -7.5};
        CText texts[2] = {"default", "default"};
        found = settings.getBool(name, &flag) | settings.getInt(name, &number) |
                settings.getDouble(name, &real) | settings.getString(name, &text) |
                settings.getBinary(name, block, &size);
        for (bool listFound :
             {settings.getIntList(name, &count, list), settings.getBoolList(name, &count, bools),
              settings.getDoubleList(name, &count, reals),
              settings.getStringList(name, &count, texts)}) {
            found |= listFound;
        }
    }
    bool untouched() const {
        return flag && number == -77 && real == -7.5 && text == "default" &&
               std::strcmp(block, "default") == 0 && list[0] == -77 && list[1] == -77;
    }
};

} // namespace

TEST(RegistrySettings, EveryTypeAndListSurvivesAFreshReadOfTheFile) {
    SettingsRoot root;
    const std::string longest = bytesOf(CRegistrySettings::MAX_STRING_BYTES, 'a');
    const std::string accented = "Couldn\xB4t \x80\xFF";
    const unsigned char block[] = {0, 1, 2, 0, 255, 10, 13, 0};
    const bool bools[] = {true, false, true, true};
    const int32_t ints[] = {12, 0, -34, std::numeric_limits<int32_t>::min()};
    const double doubles[] = {0.1, -0.0, 1e300, -2.5};
    const CText strings[] = {"a", "", "say \"hi\"", "x,y"};
    {
        CRegistrySettings settings(SETTINGS_KEY);
        settings.setInt("Int", -123456);
        settings.setInt("IntMin", std::numeric_limits<int32_t>::min());
        settings.setBool("True", true);
        settings.setBool("False", false);
        settings.setDouble("Double", 0.1);
        settings.setDouble("NegativeZero", -0.0);
        settings.setDouble("Infinity", -std::numeric_limits<double>::infinity());
        settings.setDouble("NaN", std::numeric_limits<double>::quiet_NaN());
        settings.setString("String", "\\My documents\\zorbook.gbk");
        settings.setString("Empty", "");
        settings.setString("Accented", accented.c_str());
        settings.setString("Longest", longest.c_str());
        settings.setBinary("Binary", block, sizeof block);
        settings.setBinary("EmptyBinary", nullptr, 0);
        settings.setBoolList("BoolList", 4, bools);
        settings.setIntList("IntList", 4, ints);
        settings.setDoubleList("DoubleList", 4, doubles);
        settings.setStringList("StringList", 4, strings);
        settings.setStringList("EmptyList", 0, nullptr);
    }
    root.reopenFromCopy();
    CRegistrySettings settings(SETTINGS_KEY);

    int32_t number = 0;
    ASSERT_TRUE(settings.getInt("Int", &number));
    EXPECT_EQ(number, -123456);
    ASSERT_TRUE(settings.getInt("IntMin", &number));
    EXPECT_EQ(number, std::numeric_limits<int32_t>::min());
    bool flag = false;
    ASSERT_TRUE(settings.getBool("True", &flag));
    EXPECT_TRUE(flag);
    ASSERT_TRUE(settings.getBool("False", &flag));
    EXPECT_FALSE(flag);
    ASSERT_TRUE(settings.getInt("True", &number));
    EXPECT_EQ(number, 1);

    double real = 0;
    ASSERT_TRUE(settings.getDouble("Double", &real));
    EXPECT_EQ(real, 0.1);
    ASSERT_TRUE(settings.getDouble("NegativeZero", &real));
    EXPECT_TRUE(real == 0 && std::signbit(real));
    ASSERT_TRUE(settings.getDouble("Infinity", &real));
    EXPECT_EQ(real, -std::numeric_limits<double>::infinity());
    ASSERT_TRUE(settings.getDouble("NaN", &real));
    EXPECT_TRUE(std::isnan(real));

    struct StringCase {
        const char* name;
        std::string value;
    };
    const StringCase stringCases[] = {{"String", "\\My documents\\zorbook.gbk"},
                                      {"Empty", ""},
                                      {"Accented", accented},
                                      {"Longest", longest}};
    for (const StringCase& c : stringCases) {
        CText text = "default";
        ASSERT_TRUE(settings.getString(c.name, &text)) << c.name;
        EXPECT_EQ(std::string(text.c_str(), text.length()), c.value) << c.name;
    }

    unsigned char blockBack[16] = {};
    int32_t size = sizeof blockBack;
    ASSERT_TRUE(settings.getBinary("Binary", blockBack, &size));
    ASSERT_EQ(size, int32_t(sizeof block));
    EXPECT_EQ(std::memcmp(blockBack, block, sizeof block), 0);
    size = sizeof blockBack;
    ASSERT_TRUE(settings.getBinary("EmptyBinary", blockBack, &size));
    EXPECT_EQ(size, 0);

    bool boolsBack[8] = {};
    int32_t count = 8;
    ASSERT_TRUE(settings.getBoolList("BoolList", &count, boolsBack));
    ASSERT_EQ(count, 4);
    EXPECT_TRUE(std::equal(bools, bools + 4, boolsBack));
    int32_t intsBack[8] = {};
    count = 8;
    ASSERT_TRUE(settings.getIntList("IntList", &count, intsBack));
    ASSERT_EQ(count, 4);
    EXPECT_TRUE(std::equal(ints, ints + 4, intsBack));
    double doublesBack[8] = {};
    count = 8;
    ASSERT_TRUE(settings.getDoubleList("DoubleList", &count, doublesBack));
    ASSERT_EQ(count, 4);
    EXPECT_TRUE(std::equal(doubles, doubles + 4, doublesBack));
    EXPECT_TRUE(std::signbit(doublesBack[1]));
    CText stringsBack[8];
    count = 8;
    ASSERT_TRUE(settings.getStringList("StringList", &count, stringsBack));
    ASSERT_EQ(count, 4);
    EXPECT_TRUE(std::equal(strings, strings + 4, stringsBack));
    count = 8;
    ASSERT_TRUE(settings.getStringList("EmptyList", &count, stringsBack));
    EXPECT_EQ(count, 0);

    // The lists are strings in the stored forms.
    CText text;
    ASSERT_TRUE(settings.getString("BoolList", &text));
    EXPECT_STREQ(text.c_str(), "1011");
    ASSERT_TRUE(settings.getString("IntList", &text));
    EXPECT_STREQ(text.c_str(), "12,0,-34,-2147483648");
    ASSERT_TRUE(settings.getString("StringList", &text));
    EXPECT_STREQ(text.c_str(), "\"a\",\"\",\"say \"\"hi\"\"\",\"x,y\"");
}

TEST(RegistrySettings, MissingValuesLeaveTheCallersDefaults) {
    SettingsRoot root;
    CRegistrySettings settings(SETTINGS_KEY);
    EveryReader noFile;
    noFile.read(settings, "IDC_CBSOUND");
    EXPECT_FALSE(noFile.found);
    EXPECT_TRUE(noFile.untouched());

    // The key exists now, the value still does not; another key's value is not ours.
    settings.setInt("IDC_CBCOACH", 1);
    CRegistrySettings other("software\\Someone\\Else");
    other.setInt("IDC_CBSOUND", 0);
    root.reopenFromCopy();
    EveryReader noValue;
    noValue.read(settings, "IDC_CBSOUND");
    EXPECT_FALSE(noValue.found);
    EXPECT_TRUE(noValue.untouched());
}

TEST(RegistrySettings, ValuesOfTheWrongSizeReadAsMissing) {
    SettingsRoot root;
    CRegistrySettings settings(SETTINGS_KEY);
    const std::string tooLong = bytesOf(CRegistrySettings::MAX_STRING_BYTES + 1, 'a');
    const unsigned char two[] = {1, 2};
    settings.setString("TooLong", tooLong.c_str());
    settings.setBinary("Two", two, sizeof two);
    settings.setString("Text", "abc");
    settings.setInt("Int", 5);
    settings.setBinary("Zero", "ab\0cd", 5);
    root.reopenFromCopy();

    struct Case {
        const char* name;
        bool intFound, doubleFound, stringFound;
    };
    const Case cases[] = {
        {"TooLong", false, false, false},
        {"Two", false, false, true},
        {"Text", false, false, true},
        {"Int", true, false, false}, // a number is no string
    };
    for (const Case& c : cases) {
        int32_t number = -1;
        double real = -1;
        CText text = "default";
        EXPECT_EQ(settings.getInt(c.name, &number), c.intFound) << c.name;
        EXPECT_EQ(settings.getDouble(c.name, &real), c.doubleFound) << c.name;
        EXPECT_EQ(settings.getString(c.name, &text), c.stringFound) << c.name;
        if (!c.intFound) {
            EXPECT_EQ(number, -1) << c.name;
        }
        EXPECT_EQ(real, -1) << c.name;
        if (!c.stringFound) {
            EXPECT_EQ(text, "default") << c.name;
        }
    }

    CText text;
    ASSERT_TRUE(settings.getString("Zero", &text));
    EXPECT_STREQ(text.c_str(), "ab");
    // The caller's buffer is the limit of a binary read.
    unsigned char buffer[4] = {9, 9, 9, 9};
    int32_t size = 1;
    EXPECT_FALSE(settings.getBinary("Two", buffer, &size));
    EXPECT_EQ(size, 1);
    EXPECT_EQ(buffer[0], 9);
    size = -5;
    EXPECT_FALSE(settings.getBinary("Two", buffer, &size));
    size = 2;
    ASSERT_TRUE(settings.getBinary("Two", buffer, &size));
    EXPECT_EQ(buffer[1], 2);
}

TEST(RegistrySettings, AHandTypedValueOfAnotherTypeReadsAsMissing) {
    struct Case {
        const char* line; // as typed into the file under the program's key
        bool intFound;
        int32_t number;
        bool stringFound;
        const char* text;
    };
    const Case cases[] = {
        {"LEVEL_FIXED_PLIES=deep", false, 0, true, "deep"},
        {"Bookfilename=1234", true, 1234, false, ""},
        {"Bookfilename=@ByteArray(1234)", false, 0, true, "1234"},
        {"Bookfilename=/home/ann/my book.gbk", false, 0, true, "/home/ann/my book.gbk"},
        {"Bookfilename=\"1234\"", true, 1234, false, ""}, // quotes only group the text
        {"IDC_CBSOUND=0", true, 0, false, ""},
        {"IDC_CBSOUND=-7", true, -7, false, ""},
        {"IDC_CBSOUND=2147483648", false, 0, true, "2147483648"},
        {"IDC_CBSOUND=true", false, 0, true, "true"},
        {"IDC_CBSOUND=0x10", false, 0, true, "0x10"},
        {"IDC_CBSOUND=1.5", false, 0, true, "1.5"},
        {"IDC_CBSOUND=@ByteArray(\\x1\\0\\0\\0)", false, 0, true, "\x01"},
        {"IDC_CBENGINE=Tarnwick, the second", false, 0, true, "Tarnwick, the second"},
    };
    for (const Case& c : cases) {
        SettingsRoot root;
        writeFile(root.filePath(),
                  std::string("[software]\nTallowmere\\TallowmereChess\\Settings\\") + c.line +
                      "\n");
        platform::registryReopen();
        CRegistrySettings settings(SETTINGS_KEY);
        const std::string name = std::string(c.line).substr(0, std::string(c.line).find('='));
        int32_t number = -77;
        EXPECT_EQ(settings.getInt(name.c_str(), &number), c.intFound) << c.line;
        EXPECT_EQ(number, c.intFound ? c.number : -77) << c.line;
        CText text = "default";
        EXPECT_EQ(settings.getString(name.c_str(), &text), c.stringFound) << c.line;
        EXPECT_STREQ(text.c_str(), c.stringFound ? c.text : "default") << c.line;
        double real = -7.5;
        EXPECT_FALSE(settings.getDouble(name.c_str(), &real)) << c.line;
        EXPECT_EQ(real, -7.5) << c.line;
    }
}

TEST(RegistrySettings, ADamagedFileReadsAsDefaultsAndIsWrittenAgain) {
    const std::string garbage = "\x01\x02\xFF\xFE[[[\n\0\0=\xB4\r\r=@ByteArray(\n";
    const std::string cases[] = {
        std::string(garbage.data(), garbage.size()),
        "[software]\nTallowmere\\TallowmereChess\\Settings\\IDC_CBSOUND=@ByteArray(\n",
        "[software/Tallowmere/TallowmereChess/Settings]\nIDC_CBSOUND=abc\n"
        "LEVEL_MODE=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\nBookfilename=@ByteArray(\\x\n",
        std::string(100000, '['),
        "",
    };
    for (const std::string& contents : cases) {
        SettingsRoot root;
        writeFile(root.filePath(), contents);
        platform::registryReopen();
        CRegistrySettings settings(SETTINGS_KEY);
        for (const char* name : {"IDC_CBSOUND", "LEVEL_MODE", "Bookfilename"}) {
            EveryReader reader;
            reader.read(settings, name);
            // Whatever a damaged value reads as, the readers keep to their buffers.
            if (!reader.found) {
                EXPECT_TRUE(reader.untouched()) << name;
            }
        }
        int32_t sound = 1;
        settings.getInt("IDC_CBSOUND", &sound);
        EXPECT_EQ(sound, 1) << "a number that does not read keeps the default";

        settings.setInt("IDC_CBANIMATION", 3);
        root.reopenFromCopy();
        int32_t animation = 2;
        EXPECT_TRUE(settings.getInt("IDC_CBANIMATION", &animation));
        EXPECT_EQ(animation, 3);
    }
}

TEST(RegistrySettings, AnUnwritableFileGivesDefaultsAndNoHarm) {
    // Where the file should be there is a folder; where its folder should be, a file.
    // (Permissions would not stop a test run as root.)
    struct Case {
        const char* what;
        bool folderInstead;
    };
    const Case cases[] = {{"a folder in place of the file", true},
                          {"a file in place of the folder", false}};
    for (const Case& c : cases) {
        SettingsRoot root;
        const std::filesystem::path file = root.filePath();
        if (c.folderInstead) {
            std::filesystem::create_directories(file);
        } else {
            writeFile(file.parent_path().string(), "in the way");
        }
        platform::registryReopen();
        CRegistrySettings settings(SETTINGS_KEY);
        settings.setInt("IDC_CBSOUND", 0);
        settings.setString("Bookfilename", "book.gbk");
        const int32_t ints[] = {1, 2};
        settings.setIntList("List", 2, ints);
        // The next start finds nothing stored.
        platform::registryReopen();
        EveryReader reader;
        reader.read(settings, "IDC_CBSOUND");
        EXPECT_FALSE(reader.found) << c.what;
        EXPECT_TRUE(reader.untouched()) << c.what;
    }
}
