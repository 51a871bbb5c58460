#include "framework/qt/clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QMimeData>

#include "framework/qt/qt_text.h"
#include "framework/results_view/spreadsheet_table.h"

namespace framework {
namespace {

const QString kText = QStringLiteral("text/plain");
const QString kHtml = QStringLiteral("text/html");
const QString kGnumeric = QStringLiteral("application/x-gnumeric");

// Numbers in the table flavour are shown with the user's decimal mark.
char DecimalMark() {
    return QLocale().decimalPoint() == QStringLiteral(",") ? ',' : '.';
}

class SelectionData : public QMimeData {
public:
    // The table formats are found here and made only when a program asks.
    SelectionData(platform::SharedText text, std::size_t first, std::size_t last)
        : text_(std::move(text)), first_(first), last_(last) {
        const std::string_view bytes = BytesOf(text_);
        if (SpreadsheetTable::Covers(bytes, first, last, SpreadsheetFormat::Gnumeric)) {
            formats_.append(kGnumeric);
            if (SpreadsheetTable::Covers(bytes, first, last, SpreadsheetFormat::Html)) {
                formats_.append(kHtml);
            }
        }
        formats_.append(kText);
    }

    QStringList formats() const override { return formats_; }
    bool hasFormat(const QString& mimeType) const override { return formats_.contains(mimeType); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override {
        const std::string_view bytes = BytesOf(text_);
        if (mimeType == kText) {
            return FromWindows1252(bytes.substr(first_, last_ - first_));
        }
        if (!hasFormat(mimeType)) {
            return {};
        }
        const auto table = SpreadsheetTable::Of(
            bytes, first_, last_,
            mimeType == kHtml ? SpreadsheetFormat::Html : SpreadsheetFormat::Gnumeric,
            DecimalMark());
        if (!table.has_value()) {
            return {};
        }
        QByteArray document(static_cast<qsizetype>(table->Length()), Qt::Uninitialized);
        table->WriteTo(document.data());
        return document;
    }

private:
    platform::SharedText text_;  // shares the view's buffer
    std::size_t first_;
    std::size_t last_;
    QStringList formats_;
};

}  // namespace

void CopySelection(const platform::SharedText& text, std::size_t first, std::size_t last) {
    QApplication::clipboard()->setMimeData(new SelectionData(text, first, last),
                                           QClipboard::Clipboard);
}

void OfferPrimarySelection(const platform::SharedText& text, std::size_t first, std::size_t last) {
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard->supportsSelection()) {
        clipboard->setMimeData(new SelectionData(text, first, last), QClipboard::Selection);
    }
}

}  // namespace framework
