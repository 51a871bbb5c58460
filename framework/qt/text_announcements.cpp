#include "framework/qt/text_announcements.h"

#include <QAccessible>
#include <QWidget>
#include <algorithm>

#include "framework/qt/qt_text.h"

namespace framework {
namespace {

// Screen readers hear what changed: a new text (at most its first
// kAnnouncedCharacters, so that a 23 MB table is not copied into an event;
// the text itself is read on request), the caret and the selection, all in
// the characters of the layout's screen-reader text. The removal goes before
// the old text is replaced.
constexpr std::size_t kAnnouncedCharacters = 4096;

QString AnnouncedText(const TextViewModel& model) {
    const TextLayout& layout = model.Layout();
    return FromWindows1252(
        layout.CharacterText(0, std::min(layout.CharacterCount(), kAnnouncedCharacters)));
}

int CharacterOffset(const TextViewModel& model, std::size_t offset) {
    return AccessibleOffset(model.Layout().CharacterAt(offset));
}

}  // namespace

void AnnounceTextRemoval(QWidget& view, const TextViewModel& model) {
    if (QAccessible::isActive() && !model.Text().empty()) {
        QAccessibleTextRemoveEvent removed(&view, 0, AnnouncedText(model));
        QAccessible::updateAccessibility(&removed);
    }
}

void AnnounceChanges(QWidget& view, const TextViewModel& model, const TextViewChanges& changes) {
    if (!QAccessible::isActive()) {
        return;
    }
    if (changes.text && !model.Text().empty()) {
        QAccessibleTextInsertEvent inserted(&view, 0, AnnouncedText(model));
        QAccessible::updateAccessibility(&inserted);
    }
    if (changes.selection) {
        const auto [first, last] = model.Selection();
        QAccessibleTextSelectionEvent selected(&view, CharacterOffset(model, first),
                                               CharacterOffset(model, last));
        QAccessible::updateAccessibility(&selected);
    }
    if (changes.caret || changes.text) {
        QAccessibleTextCursorEvent moved(&view, CharacterOffset(model, model.Caret()));
        QAccessible::updateAccessibility(&moved);
    }
}

}  // namespace framework
