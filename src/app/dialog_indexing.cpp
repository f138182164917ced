#include "app/dialog_indexing.h"

#include <atomic>
#include <istream>
#include <memory>

#include "app/dialog_modal.h"
#include "database/database.h"
#include "database/file_system.h"
#include "pgn/pgn_reader.h"
#include "platform/kernel/thread.h"
#include "platform/ui/dialog.h"

using namespace platform;

namespace {

constexpr unsigned WM_INDEX_PROGRESS = WM_USER + 40; // wParam: games, lParam: per mille
constexpr unsigned WM_INDEX_DONE = WM_USER + 41;     // wParam: 1 when the scan completed
// Progress is posted once per this many games, so that the interface thread keeps up.
constexpr size_t PROGRESS_STEP = 2048;

int64_t largeFile = 16 << 20;

struct Indexing {
    std::string path;
    int64_t size = 0;
    std::vector<GameIndexEntry> entries; // the worker's until it posts WM_INDEX_DONE
    std::atomic<bool> cancelled{false};
    bool completed = false;
    Thread worker;
};

Indexing* indexing = nullptr;

void scan(Window* dialog, Indexing* job) {
    CPgnReader reader;
    std::unique_ptr<std::istream> stream = realFileSystem().openForReading(job->path.c_str());
    bool completed = false;
    if (stream) {
        completed = indexGames(reader, *stream, job->entries, [&](int64_t position, size_t games) {
            if (games % PROGRESS_STEP == 0) {
                const intptr_t perMille = job->size > 0 ? intptr_t(position * 1000 / job->size) : 0;
                postMessage(dialog, WM_INDEX_PROGRESS, uintptr_t(games), perMille);
            }
            return !job->cancelled.load();
        });
    }
    postMessage(dialog, WM_INDEX_DONE, completed && stream ? 1 : 0, 0);
}

void showProgress(Window* dialog, uintptr_t games, intptr_t perMille) {
    const std::string text =
        std::to_string(games) + " games, " + std::to_string(perMille / 10) + "% of the file";
    setDlgItemText(dialog, IDC_INDEXING_PROGRESS, text.c_str());
}

intptr_t indexingProc(Window* dialog, unsigned message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const std::string name = indexing->path.substr(indexing->path.find_last_of('/') + 1);
        setDialogTitle(dialog, ("Indexing " + name).c_str());
        setDlgItemText(dialog, IDC_INDEXING_FILE, ("Reading " + name + "...").c_str());
        showProgress(dialog, 0, 0);
        Indexing* job = indexing;
        if (!job->worker.start([dialog, job] { scan(dialog, job); })) endDialog(dialog, IDCANCEL);
        return 1;
    }
    case WM_INDEX_PROGRESS:
        showProgress(dialog, wParam, lParam);
        return 1;
    case WM_INDEX_DONE:
        indexing->completed = wParam != 0;
        endDialog(dialog, IDOK);
        return 1;
    case WM_COMMAND:
        if (loWord(wParam) != IDCANCEL) return 0;
        endDialog(dialog, IDCANCEL);
        return 1;
    case WM_DESTROY:
        // However the dialog ends, the worker that posts to it must be done before it
        // goes; it sees the cancel at its next game.
        indexing->cancelled = !indexing->completed;
        indexing->worker.join();
        return 1;
    default:
        return 0;
    }
}

} // namespace

int64_t backgroundIndexSize() {
    return largeFile;
}

void setBackgroundIndexSize(int64_t bytes) {
    largeFile = bytes;
}

bool indexInBackground(Window* owner, const std::string& path,
                       std::vector<GameIndexEntry>* entries) {
    entries->clear();
    Indexing job;
    job.path = path;
    std::unique_ptr<std::istream> probe = realFileSystem().openForReading(path.c_str());
    if (!probe || !probe->seekg(0, std::ios_base::end)) return false;
    job.size = int64_t(probe->tellg());
    probe.reset();
    indexing = &job;
    {
        const ModalScope modal;
        dialogBox("indexing", owner, indexingProc);
    }
    indexing = nullptr;
    if (!job.completed) return false;
    *entries = std::move(job.entries);
    return true;
}
