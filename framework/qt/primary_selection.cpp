#include "framework/qt/primary_selection.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "framework/qt/qt_text.h"

namespace framework {
namespace {

// What is selected, offered as the X11 primary selection; its text is made
// only when somebody pastes it, so selecting a large table costs nothing.
class SelectionData : public QMimeData {
public:
    SelectionData(CString text, std::size_t first, std::size_t last)
        : text_(std::move(text)), first_(first), last_(last) {}

    QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    bool hasFormat(const QString& mimeType) const override {
        return mimeType == QStringLiteral("text/plain");
    }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType) const override {
        if (!hasFormat(mimeType)) {
            return {};
        }
        return FromWindows1252(std::string_view(text_).substr(first_, last_ - first_));
    }

private:
    CString text_;  // shares the view's buffer
    std::size_t first_;
    std::size_t last_;
};

}  // namespace

void OfferPrimarySelection(const CString& text, std::size_t first, std::size_t last) {
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard->supportsSelection()) {
        clipboard->setMimeData(new SelectionData(text, first, last), QClipboard::Selection);
    }
}

}  // namespace framework
