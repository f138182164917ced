#include "platform/ui/help.h"

#include "platform/ui/internal.h"
#include "platform/ui/text.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>

namespace platform {
namespace {

HelpHook helpHook;
QPointer<QTextBrowser> viewer;
std::string shownRequest;

} // namespace

void setHelpHook(HelpHook hook) {
    helpHook = std::move(hook);
}

bool showHelp(const char* request) {
    const std::string text = request ? request : "";
    if (helpHook) {
        helpHook(text);
        return true;
    }
    const size_t hash = text.find('#');
    const std::string file = text.substr(0, hash);
    const QString anchor = hash == std::string::npos ? QString() : widen(text.substr(hash + 1));
    QByteArray page;
    if (file.empty() || file.find('/') != std::string::npos ||
        !readResource("help/" + file, &page)) {
        return false;
    }
    if (!viewer) {
        viewer = new QTextBrowser;
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->setWindowTitle(QStringLiteral("Tallowmere Chess Help"));
        viewer->setOpenExternalLinks(true);
        const double scale = widgetScale(currentSteps());
        viewer->setFont(dialogFont());
        viewer->resize(std::max(480, int(240 * scale)), std::max(520, int(300 * scale)));
    }
    viewer->setSource(QUrl(QStringLiteral("qrc:/tallowmere/help/") + widen(file)));
    if (!anchor.isEmpty()) {
        viewer->scrollToAnchor(anchor);
    }
    shownRequest = text;
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    // A help key whose part of the file is missing would otherwise look answered.
    return anchor.isEmpty() ||
           page.contains(QStringLiteral("name=\"%1\"").arg(anchor).toUtf8());
}

std::string helpShown() {
    return viewer && viewer->isVisible() ? shownRequest : std::string();
}

} // namespace platform
