// The standard read-only Qt field that the screen-reader test compares the
// results view with: the same labels, a radio group in a "Funktion" box, a
// "Berechnen" button and a read-only QPlainTextEdit holding the table read
// from the file named on the command line.
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        return 2;
    }
    QFile table(QString::fromLocal8Bit(argv[1]));
    if (!table.open(QIODevice::ReadOnly)) {
        return 2;
    }
    QDialog dialog;
    dialog.setWindowTitle("Referenz");
    auto* layout = new QGridLayout(&dialog);
    auto* group = new QGroupBox("Funktion");
    auto* radios = new QVBoxLayout(group);
    for (const char* caption : {"Y = 2*x³ - 3*x² + 4*x -5", "Y = 4*x³ - 2*x² - 4*x +5",
                                "Y = -0,5*x³ +0,4*x² + 4*x +33"}) {
        radios->addWidget(new QRadioButton(QString::fromUtf8(caption)));
    }
    layout->addWidget(group, 0, 0, 2, 1);
    auto* label = new QLabel("Ergebnisse");
    auto* results = new QPlainTextEdit;
    results->setReadOnly(true);
    results->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    results->setLineWrapMode(QPlainTextEdit::NoWrap);
    results->setPlainText(QString::fromLatin1(table.readAll()));
    label->setBuddy(results);
    layout->addWidget(label, 0, 1);
    layout->addWidget(results, 1, 1);
    layout->addWidget(new QPushButton("Berechnen"), 2, 1);
    dialog.resize(640, 480);
    dialog.show();
    return QApplication::exec();
}
