// Writes pictures of the dialogs to the folder given as the only argument:
// the main dialog opened, with a table, with a message box, with its system
// menu, and the About box. Runs headless.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "framework/qt/dialog_window.h"
#include "framework/winapp.h"
#include "tests/support/gui_test.h"
#include "tests/support/headless.h"
#include "ui/wertomatdlg.h"

namespace {

QString folder;

// Everything on the virtual screen around `anchor`, with a margin.
void Save(QWidget* anchor, const char* name, std::initializer_list<QWidget*> overlays = {}) {
    testing_support::ProcessEvents();
    QRect area = anchor->frameGeometry();
    for (QWidget* overlay : overlays) {
        area = area.united(overlay->frameGeometry());
    }
    area.adjust(-12, -12, 12, 12);
    QImage picture(area.size(), QImage::Format_ARGB32);
    picture.fill(QColor(0x5a, 0x6e, 0x82));
    QPainter painter(&picture);
    painter.drawPixmap(anchor->geometry().topLeft() - area.topLeft(), anchor->grab());
    for (QWidget* overlay : overlays) {
        painter.drawPixmap(overlay->geometry().topLeft() - area.topLeft(), overlay->grab());
    }
    painter.end();
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    picture.save(path);
    std::printf("%s\n", path.toUtf8().constData());
}

void Type(CWertomatDlg& dialog, int id, const char* text) {
    auto* edit = qobject_cast<QLineEdit*>(dialog.Window()->Control(id));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

}  // namespace

int main(int argc, char** argv) {
    const testing_support::HeadlessToolkit toolkit(argc, argv);
    folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    CWertomatDlg dialog;
    testing_support::WhenModalAppears([&](QWidget* window) {
        window->move(40, 40);
        Save(window, "main-dialog.png");

        QTest::mouseClick(dialog.Window()->Control(IDC_COMPUTE), Qt::LeftButton);
        Save(window, "main-dialog-table.png");

        testing_support::WhenPopupAppears([window](QWidget* menu) {
            Save(window, "main-dialog-system-menu.png", {menu});
            QTest::keyClick(menu, Qt::Key_Escape);
        });
        QTest::keyClick(window, Qt::Key_Space, Qt::AltModifier);

        Type(dialog, IDC_XE, "0");
        testing_support::WhenModalAppears(
            [window](QWidget* box) {
                Save(window, "main-dialog-message.png", {box});
                testing_support::AcceptMessageBox(box);
            },
            window);
        QTest::mouseClick(dialog.Window()->Control(IDC_COMPUTE), Qt::LeftButton);

        testing_support::WhenModalAppears(
            [window](QWidget* about) {
                Save(window, "about-box.png", {about});
                about->close();
            },
            window);
        dialog.SendMessage(WM_SYSCOMMAND, ID_SYSMENU_ABOUT, 0);

        // x texts that end just before a tab stop: the columns must not touch.
        Type(dialog, IDC_XA, "-20");
        Type(dialog, IDC_XSW, "5");
        Type(dialog, IDC_XE, "20");
        QTest::mouseClick(dialog.Window()->Control(IDC_COMPUTE), Qt::LeftButton);
        Save(window, "main-dialog-negative-tens.png");
        dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    return 0;
}
