// Random sequences on the real dialog, from a fixed seed: typed texts of every
// kind, radio choices and clicks on "Berechnen". After each click either
// message boxes were shown and every field kept its text, or the results field
// holds exactly the core's table for the values the fields now show.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include "core/tabulation.h"
#include "framework/qt/dialog_window.h"
#include "framework/qt/qt_text.h"
#include "framework/qt/text_view.h"
#include "messages/messages.h"
#include "tests/support/gui_test.h"
#include "text/number_text.h"
#include "text/text_encoding.h"
#include "ui/wertomatdlg.h"

namespace {

constexpr int kSequences = 300;

class Sequences {
public:
    explicit Sequences(CWertomatDlg& dialog) : dialog_(dialog), random_(20261208) {}

    QLineEdit* Edit(int id) const {
        return qobject_cast<QLineEdit*>(dialog_.Window()->Control(id));
    }
    framework::TextView* Results() const {
        return qobject_cast<framework::TextView*>(dialog_.Window()->Control(IDC_RESULTS));
    }

    // A text of one of the kinds users type or paste.
    QString RandomText() {
        const std::vector<QString> words{"abc",  "e",     "x",       "nan", "inf",
                                         "0x1A", "1 000", "1.000,5", "--1", "漢字",
                                         "Ω",    "ä",     "€",       "\t",  " "};
        std::uniform_int_distribution<int> kind(0, 9);
        std::uniform_real_distribution<double> small(-50.0, 50.0);
        switch (kind(random_)) {
            case 0:
            case 1:
            case 2:
                return QString::number(small(random_), 'g', static_cast<int>(random_() % 6) + 1);
            case 3:  // German decimal comma
                return QString::number(small(random_), 'f', static_cast<int>(random_() % 4))
                    .replace('.', ',');
            case 4:  // with blanks around it
                return QStringLiteral("  %1 ").arg(static_cast<int>(random_() % 20) - 10);
            case 5:  // exponents, some far out of range
                return QStringLiteral("%1e%2")
                    .arg(random_() % 9 + 1)
                    .arg(static_cast<int>(random_() % 700) - 350);
            case 6:  // a word or character that is no number
                return words[random_() % words.size()];
            case 7:  // very long
                return QString(static_cast<qsizetype>(random_() % 2000 + 300), QChar(u'7'));
            case 8:
                return QString();
            default:  // a small step, for longer tables
                return QStringLiteral("0.00%1").arg(random_() % 9 + 1);
        }
    }

    void Type(int id, const QString& text) {
        QLineEdit* edit = Edit(id);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        if (random_() % 8 == 0) {
            // Pasted, with a line break in the middle.
            QApplication::clipboard()->setText(text + QStringLiteral("\n2"));
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else {
            edit->insert(text);
        }
    }

    // The outcome the fields' texts call for: a table, or the messages to expect.
    struct Expectation {
        std::optional<std::string> table;
        std::vector<std::string> messages;  // UTF-8
        std::vector<double> values;
    };
    Expectation Expect(int kind) const {
        Expectation expected;
        for (const int id : {IDC_XA, IDC_XSW, IDC_XE}) {
            const std::variant<double, text::NumberRefusal> reading =
                text::ReadNumber(framework::ToWindows1252(Edit(id)->text()).value_or(""));
            if (const auto* refusal = std::get_if<text::NumberRefusal>(&reading)) {
                expected.messages.push_back(
                    text::Windows1252ToUtf8(text::RefusalMessage(*refusal)));
                return expected;
            }
            expected.values.push_back(std::get<double>(reading));
        }
        const wertomat::TabulationOutcome outcome = wertomat::RunTabulation(
            {expected.values[0], expected.values[1], expected.values[2], kind});
        if (outcome.succeeded) {
            expected.table = outcome.text;
        } else {
            expected.messages.push_back(
                text::Windows1252ToUtf8(messages::ForRefusal(outcome.refusal)));
        }
        return expected;
    }

    // Start, step and end that fit together, as most users type them.
    void TypeCoherentRange() {
        std::uniform_real_distribution<double> position(-20.0, 20.0);
        const double start = std::round(position(random_) * 100.0) / 100.0;
        double end = std::round(position(random_) * 100.0) / 100.0;
        if (end == start) {
            end += 1.0;
        }
        const double rows = static_cast<double>(random_() % 200 + 1);
        const bool comma = random_() % 2 == 0;
        auto text = [comma](double value) {
            QString written = QString::number(value, 'g', 8);
            return comma ? written.replace('.', ',') : written;
        };
        Type(IDC_XA, text(start));
        Type(IDC_XSW, text((end - start) / rows));
        Type(IDC_XE, text(end));
    }

    void RunOne(int sequence) {
        SCOPED_TRACE("sequence " + std::to_string(sequence));
        if (random_() % 2 == 0) {
            TypeCoherentRange();
        } else {
            for (const int id : {IDC_XA, IDC_XSW, IDC_XE}) {
                if (random_() % 3 != 0) {
                    Type(id, RandomText());
                }
            }
        }
        const int kind = static_cast<int>(random_() % 3);
        const int radios[] = {IDC_FUNCTION_0, IDC_FUNCTION_1, IDC_FUNCTION_2};
        QTest::mouseClick(dialog_.Window()->Control(radios[kind]), Qt::LeftButton);

        const QString before[] = {Edit(IDC_XA)->text(), Edit(IDC_XSW)->text(),
                                  Edit(IDC_XE)->text()};
        const std::string resultsBefore = Results()->text();
        const Expectation expected = Expect(kind);

        // Answer every message box the click brings up, noting its text.
        std::vector<std::string> shown;
        QTimer answerer;
        answerer.setInterval(1);
        QObject::connect(&answerer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->isVisible()) {
                shown.push_back(box->text().toStdString());
                box->accept();
            }
        });
        answerer.start();
        QTest::mouseClick(dialog_.Window()->Control(IDC_COMPUTE), Qt::LeftButton);
        answerer.stop();

        ASSERT_EQ(shown, expected.messages)
            << "fields: " << before[0].left(40).toStdString() << " | "
            << before[1].left(40).toStdString() << " | " << before[2].left(40).toStdString();
        if (!expected.table) {
            EXPECT_EQ(Edit(IDC_XA)->text(), before[0]);
            EXPECT_EQ(Edit(IDC_XSW)->text(), before[1]);
            EXPECT_EQ(Edit(IDC_XE)->text(), before[2]);
            EXPECT_EQ(Results()->text(), resultsBefore);
            ++refused_;
        } else {
            EXPECT_EQ(Results()->text(), *expected.table);
            // The fields keep what was typed: it reads as the values the table was made from.
            EXPECT_EQ(Edit(IDC_XA)->text(), before[0]);
            EXPECT_EQ(Edit(IDC_XSW)->text(), before[1]);
            EXPECT_EQ(Edit(IDC_XE)->text(), before[2]);
            ++tabulated_;
        }
    }

    int refused_ = 0;
    int tabulated_ = 0;

private:
    CWertomatDlg& dialog_;
    std::mt19937_64 random_;
};

TEST(RandomSequences, EveryClickGivesTheCoresTableOrMessagesAndKeepsTheFields) {
    CWertomatDlg dialog;
    Sequences sequences(dialog);
    testing_support::WhenModalAppears([&](QWidget*) {
        for (int i = 0; i < kSequences && !HasFatalFailure(); ++i) {
            sequences.RunOne(i);
        }
        dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    std::printf("%d sequences: %d tables, %d refused\n", kSequences, sequences.tabulated_,
                sequences.refused_);
    // Both branches must have been exercised for the test to mean anything.
    EXPECT_GT(sequences.refused_, kSequences / 10);
    EXPECT_GT(sequences.tabulated_, kSequences / 10);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;  // its quarantine keeps freed memory on purpose
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

TEST(RepeatedLargestTable, MemoryDoesNotGrowWithRepetitions) {
    if (kUnderAddressSanitizer) {
        GTEST_SKIP() << "resident memory is not meaningful under AddressSanitizer";
    }
    CWertomatDlg dialog;
    testing_support::WhenModalAppears([&](QWidget*) {
        auto edit = [&](int id) { return qobject_cast<QLineEdit*>(dialog.Window()->Control(id)); };
        edit(IDC_XA)->setText("0");
        edit(IDC_XSW)->setText("0.000001");
        edit(IDC_XE)->setText("1");
        QWidget* compute = dialog.Window()->Control(IDC_COMPUTE);
        QTest::mouseClick(compute, Qt::LeftButton);
        QTest::mouseClick(compute, Qt::LeftButton);
        const long afterTwo = testing_support::ResidentBytes();
        for (int i = 0; i < 20; ++i) {
            QTest::mouseClick(compute, Qt::LeftButton);
        }
        const long afterTwenty = testing_support::ResidentBytes();
        const auto tableBytes = static_cast<long>(
            qobject_cast<framework::TextView*>(dialog.Window()->Control(IDC_RESULTS))
                ->text()
                .size());
        EXPECT_GT(tableBytes, 20'000'000);
        EXPECT_LT(afterTwenty - afterTwo, tableBytes)
            << "grew by " << (afterTwenty - afterTwo) << " bytes";
        dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
}

}  // namespace
