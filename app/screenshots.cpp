// Renders the main window and every dialog offscreen into PNG files, so the
// README can show the program as a technician sees it.
#include "app/zelwindow.h"
#include "dialogs/configsheet.h"
#include "dialogs/editchdlg.h"
#include "dialogs/productdlg.h"
#include "dialogs/sitesdlg.h"
#include "dialogs/smalldialogs.h"
#include "document/zelfile.h"
#include "programming/statusdialog/pgmstatdlg.h"
#include "radiolink/server/radioserver.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>

#include <cstdio>

namespace {

bool Save(QWidget& widget, const QDir& directory, const QString& name, bool fitContents = true) {
    widget.show();
    if (fitContents)
        widget.adjustSize();
    QApplication::processEvents();
    const bool saved = widget.grab().save(directory.filePath(name + QStringLiteral(".png")));
    widget.hide();
    if (!saved)
        std::fprintf(stderr, "screenshots: cannot write %s.png\n", qPrintable(name));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zel-screenshots DOCUMENT.zel OUTPUT-DIRECTORY\n");
        return 64;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::unique_ptr<TBoardData> loaded;
    if (LoadDocument(argv[1], loaded) != ZelResult::Ok) {
        std::fprintf(stderr, "screenshots: cannot read %s\n", argv[1]);
        return 66;
    }
    TBoardData& document = *loaded;
    const QDir directory(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(directory.path());

    bool ok = true;
    // Rendering the windows is no use of the program: it leaves the recent files alone.
    TZelWindow window(nullptr, std::filesystem::path());
    window.OpenPath(QString::fromLocal8Bit(argv[1]));
    // Shown once, the window takes its place on the screen; the picture is
    // of a smaller window.
    window.show();
    window.resize(640, 400);
    ok &= Save(window, directory, QStringLiteral("main-window"), false);

    TAboutDlg about(&window);
    ok &= Save(about, directory, QStringLiteral("about"));
    int port = 1;
    TPortDlg portDialog(&window, port);
    ok &= Save(portDialog, directory, QStringLiteral("serial-port"));
    QString entry;
    TAccessDlg access(&window, entry);
    ok &= Save(access, directory, QStringLiteral("password-entry"));
    TPwdDlg password(&window, document);
    ok &= Save(password, directory, QStringLiteral("new-password"));
    TProductDlg product(&window, document);
    ok &= Save(product, directory, QStringLiteral("product"));
    TSitesDlg sites(&window, document, 0);
    ok &= Save(sites, directory, QStringLiteral("rf-sites"));
    TEditChDlg channel(&window, QStringLiteral("Edit Channel"), document.Sites[0].Channels[0], 0);
    ok &= Save(channel, directory, QStringLiteral("channel-editor"));
    TConfigurationSheet sheet(&window, document);
    const char* pages[] = {"configuration-general", "configuration-banks",
                           "configuration-speed-dial"};
    for (int page = 0; page < 3; ++page) {
        sheet.Tabs().setCurrentIndex(page);
        ok &= Save(sheet, directory, QString::fromLatin1(pages[page]));
    }
    TPgmStatDlg status(&window);
    status.show();
    status.Esn("SIM0000001");
    status.Operation("write");
    status.Counter("1152 of 2256");
    status.Progress(1152, 2256);
    ok &= Save(status, directory, QStringLiteral("programming"));
    return ok ? 0 : 1;
}
