// What a screen reader sees of the framework's own controls.
#pragma once

namespace framework {

// Installs, once, the accessible interfaces of the results view (a read-only,
// multi-line text that can be read line by line) and of automatic radio
// buttons (announced as radio buttons, not check boxes).
void InstallAccessibility();

class TextView;
struct TextViewChanges;
// Tells screen readers what changed in the results view: a new text (with at
// most its first kAnnouncedCharacters, so that a 23 MB table is not copied
// into an event; the text itself is read on request), the caret and the
// selection. AnnounceTextRemoval goes before the old text is replaced.
inline constexpr int kAnnouncedCharacters = 4096;
void AnnounceTextRemoval(TextView& view);
void AnnounceChanges(TextView& view, const TextViewChanges& changes);

}  // namespace framework
