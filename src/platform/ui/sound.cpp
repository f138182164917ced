#include "platform/ui/sound.h"

#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/ui/internal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSoundEffect>
#include <QUrl>
#include <algorithm>
#include <map>
#include <memory>

namespace platform {
namespace {

SoundHook soundHook;
// One effect per file, made once: loading a WAV for every move would lag the sound.
std::map<std::string, std::unique_ptr<QSoundEffect>> effects;

} // namespace

void releaseSounds() {
    // A sample still loading is in the hands of Qt's loader on a thread of its own; ending
    // then leaves its request behind, unfreed. A short wait lets the loading settle.
    const auto loading = [] {
        return std::any_of(effects.begin(), effects.end(), [](const auto& entry) {
            return entry.second && entry.second->status() == QSoundEffect::Loading;
        });
    };
    QElapsedTimer waited;
    waited.start();
    while (loading() && waited.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    effects.clear();
}

void setSoundHook(SoundHook hook) {
    soundHook = std::move(hook);
}

void playSound(const char* name, unsigned flags) {
    const std::string sound = name ? name : "";
    if (soundHook) {
        soundHook(sound, flags);
        return;
    }
    if (flags & SND_ALIAS) {
        QApplication::beep();
        return;
    }
    const std::string path = mapHandheldPath(sound);
    if (!fileExists(path)) {
        if (!(flags & SND_NODEFAULT)) {
            QApplication::beep();
        }
        return;
    }
    auto& effect = effects[path];
    if (!effect) {
        effect = std::make_unique<QSoundEffect>();
        effect->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    }
    if (effect->status() != QSoundEffect::Error) {
        effect->play();
    }
}

} // namespace platform
