// Export board image: the PNG read back shows every square as the window does, at the
// size chosen, with the arrow and the coordinates; a file that cannot be written is said.
#include "program.h"

#include <QImage>
#include <filesystem>
#include <string>

#include "app/command_ids.h"
#include "board/geometry.h"
#include "board/play_move.h"
#include "platform/ui/filedialog.h"
#include "platform/ui/messages.h"
#include "rules/notation.h"

using namespace platform;

namespace {

constexpr int IDC_IMAGE_SIZE = 1200;

// Chooses the list entry (-1: leaves the default) and presses OK in the size dialog,
// and answers the save dialog with path.
void answerDialogs(int sizeIndex, const std::string& path) {
    setFileDialogHook([path](const FileDialogRequest&, std::string* chosen) {
        *chosen = path;
        return true;
    });
    whenDialogOpens([sizeIndex](Window* dialog) {
        if (sizeIndex >= 0) chooseDlgListItem(dialog, IDC_IMAGE_SIZE, sizeIndex);
        clickDlgItem(dialog, IDOK);
    });
}

// The squares' pixels away from the two corners the coordinates may take.
int differingPixels(const QImage& image, const QImage& window, int size) {
    const int scale = size / 240;
    const int square = size / 8;
    const int corner = square / 3 + 2;
    int differing = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int inX = x % square;
            const int inY = y % square;
            if ((inX < corner && inY < corner) ||
                (inX >= square - corner && inY >= square - corner))
                continue;
            if ((image.pixel(x, y) & 0xFFFFFF) != (window.pixel(x / scale, y / scale) & 0xFFFFFF))
                ++differing;
        }
    }
    return differing;
}

} // namespace

TEST_F(ProgramTest, TheExportedImageShowsTheBoardAtTheChosenSize) {
    appState.highlightLastMove = true;
    taps({"e2", "e4"});
    ASSERT_TRUE(playMove(parseSan(*appState.position, "c5"), 0, false, true)); // with its arrow
    settle();
    tap("g1"); // a mark of a move half entered is not part of the picture
    settle();
    struct Case {
        int sizeIndex;
        int size;
        bool flipped;
    };
    for (const Case& c : {Case{-1, 480, false}, Case{2, 720, true}}) {
        appState.flipped = c.flipped;
        invalidateRect(window(), nullptr, false);
        settle();
        const std::string path = root->path + "board " + std::to_string(c.size) + ".png";
        answerDialogs(c.sizeIndex, path);
        command(IDM_EXPORT_IMAGE);
        QImage image(QString::fromStdString(path));
        ASSERT_FALSE(image.isNull()) << c.size;
        ASSERT_EQ(image.width(), c.size);
        ASSERT_EQ(image.height(), c.size);
        // The window's board without the mark of g1 (or b8 flipped).
        appState.selectedSquare = NO_MARK;
        invalidateRect(window(), nullptr, false);
        settle();
        EXPECT_EQ(differingPixels(image, shown(), c.size), 0) << c.size;
        // The rank digit stands in the corner of the top-left square.
        const int corner = c.size / 24;
        int inked = 0;
        for (int y = 0; y < corner; ++y)
            for (int x = 0; x < corner; ++x)
                inked += (image.pixel(x + 2, y + 1) & 0xFFFFFF) != (shown().pixel(0, 0) & 0xFFFFFF);
        EXPECT_GT(inked, 0) << c.size;
        tap("g1");
    }
    setFileDialogHook({});
    EXPECT_TRUE(messages.empty());
}

TEST_F(ProgramTest, AnImageThatCannotBeWrittenIsSaid) {
    const std::string path = root->path + "no such folder/board.png";
    answerDialogs(-1, path);
    command(IDM_EXPORT_IMAGE);
    setFileDialogHook({});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Could not open " + path);
    EXPECT_FALSE(std::filesystem::exists(path));
}
