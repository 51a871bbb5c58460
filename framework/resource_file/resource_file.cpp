#include "framework/resource_file/resource_file.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "text/text_encoding.h"

namespace framework {
namespace {

// Reads little-endian values from a span. Any read past the end marks the
// reader failed and yields zeros, so callers check once at the end.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Failed() const { return failed_; }
    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return bytes_.size() - position_; }

    std::uint8_t Byte() { return static_cast<std::uint8_t>(Unsigned(1)); }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Unsigned(2)); }
    std::uint32_t DoubleWord() { return static_cast<std::uint32_t>(Unsigned(4)); }
    std::int16_t SignedWord() { return static_cast<std::int16_t>(Word()); }

    std::span<const std::uint8_t> Take(std::size_t count) {
        if (failed_ || count > Remaining()) {
            failed_ = true;
            return {};
        }
        const std::span<const std::uint8_t> taken = bytes_.subspan(position_, count);
        position_ += count;
        assert(position_ <= bytes_.size());  // a read never passes the end
        return taken;
    }
    void Skip(std::size_t count) { Take(count); }
    // To the next multiple of four from the start of the bytes.
    void AlignToDoubleWord() { Skip(std::min((4 - position_ % 4) % 4, Remaining())); }

    // A zero-terminated UTF-16 text.
    std::u16string Text() {
        std::u16string text;
        for (char16_t unit = Word(); unit != 0 && !failed_; unit = Word()) {
            text.push_back(unit);
        }
        return text;
    }
    // 0xFFFF and a number, or a zero-terminated text (empty for none).
    ResourceName NameOrNumber() {
        if (PeekWord() == 0xFFFF) {
            Word();
            return Word();
        }
        return Text();
    }

private:
    std::uint16_t PeekWord() const {
        return Remaining() >= 2
                   ? static_cast<std::uint16_t>(bytes_[position_] | (bytes_[position_ + 1] << 8))
                   : 0;
    }
    std::uint64_t Unsigned(std::size_t size) {
        const std::span<const std::uint8_t> bytes = Take(size);
        std::uint64_t value = 0;
        for (std::size_t i = bytes.size(); i > 0; --i) {
            value = (value << 8) | bytes[i - 1];
        }
        return value;
    }

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    bool failed_ = false;
};

constexpr DWORD kSetFont = 0x0040;  // DS_SETFONT: the template names its font
constexpr std::uint16_t kExtendedTemplateVersion = 1;
constexpr std::uint16_t kExtendedTemplateSignature = 0xFFFF;

std::optional<ControlClass> ControlClassOf(const ResourceName& name) {
    if (const auto* number = std::get_if<std::uint16_t>(&name)) {
        switch (*number) {
            case 0x0080:
                return ControlClass::Button;
            case 0x0081:
                return ControlClass::Edit;
            case 0x0082:
                return ControlClass::Static;
            default:
                return std::nullopt;
        }
    }
    std::u16string upper = std::get<std::u16string>(name);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char16_t c) {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
    });
    if (upper == u"BUTTON") {
        return ControlClass::Button;
    }
    if (upper == u"EDIT") {
        return ControlClass::Edit;
    }
    if (upper == u"STATIC") {
        return ControlClass::Static;
    }
    return std::nullopt;
}

bool IsNone(const ResourceName& name) {
    const auto* text = std::get_if<std::u16string>(&name);
    return text != nullptr && text->empty();
}

Parsed<ControlTemplate> ReadControl(ByteReader& reader) {
    reader.AlignToDoubleWord();
    ControlTemplate control;
    control.helpId = reader.DoubleWord();
    control.extendedStyle = reader.DoubleWord();
    control.style = reader.DoubleWord();
    control.x = reader.SignedWord();
    control.y = reader.SignedWord();
    control.width = reader.SignedWord();
    control.height = reader.SignedWord();
    control.id = static_cast<std::int32_t>(reader.DoubleWord());
    const ResourceName className = reader.NameOrNumber();
    const ResourceName caption = reader.NameOrNumber();
    reader.Skip(reader.Word());  // creation data
    if (reader.Failed()) {
        return Parsed<ControlTemplate>::Refused("control truncated");
    }
    const std::optional<ControlClass> controlClass = ControlClassOf(className);
    if (!controlClass) {
        return Parsed<ControlTemplate>::Refused("control of an unknown class");
    }
    control.controlClass = *controlClass;
    if (const auto* number = std::get_if<std::uint16_t>(&caption)) {
        control.iconId = *number;
    } else {
        std::optional<std::string> text =
            text::Utf16ToWindows1252(std::get<std::u16string>(caption));
        if (!text) {
            return Parsed<ControlTemplate>::Refused("control text without a Windows-1252 form");
        }
        control.caption = std::move(*text);
    }
    return {std::move(control), {}};
}

}  // namespace

Parsed<std::vector<ResourceEntry>> ReadResourceFile(std::span<const std::uint8_t> file) {
    using Result = Parsed<std::vector<ResourceEntry>>;
    std::vector<ResourceEntry> entries;
    ByteReader reader(file);
    while (reader.Remaining() > 0) {
        const std::size_t start = reader.Position();
        const std::uint32_t dataSize = reader.DoubleWord();
        const std::uint32_t headerSize = reader.DoubleWord();
        ResourceEntry entry;
        entry.type = reader.NameOrNumber();
        entry.name = reader.NameOrNumber();
        reader.AlignToDoubleWord();
        reader.DoubleWord();  // data version
        reader.Word();        // memory flags
        entry.language = reader.Word();
        reader.Skip(8);  // version, characteristics
        if (reader.Failed() || reader.Position() - start != headerSize) {
            return Result::Refused("resource header truncated or of the wrong size");
        }
        entry.data = reader.Take(dataSize);
        reader.AlignToDoubleWord();
        if (reader.Failed()) {
            return Result::Refused("resource data truncated");
        }
        // The file opens with an empty entry that marks the format.
        if (!(dataSize == 0 && entry.type == ResourceName{std::uint16_t{0}})) {
            entries.push_back(std::move(entry));
        }
    }
    return {std::move(entries), {}};
}

const ResourceEntry* FindResourceEntry(std::span<const ResourceEntry> entries, ResourceType type,
                                       std::uint16_t name) {
    const ResourceName wantedType{static_cast<std::uint16_t>(type)};
    const ResourceName wantedName{name};
    const auto found = std::find_if(entries.begin(), entries.end(), [&](const ResourceEntry& e) {
        return e.type == wantedType && e.name == wantedName;
    });
    return found != entries.end() ? &*found : nullptr;
}

Parsed<DialogTemplate> ReadDialogTemplate(std::span<const std::uint8_t> data) {
    using Result = Parsed<DialogTemplate>;
    ByteReader reader(data);
    if (reader.Word() != kExtendedTemplateVersion || reader.Word() != kExtendedTemplateSignature) {
        return Result::Refused("not an extended dialog template");
    }
    DialogTemplate form;
    form.helpId = reader.DoubleWord();
    form.extendedStyle = reader.DoubleWord();
    form.style = reader.DoubleWord();
    const std::uint16_t controlCount = reader.Word();
    form.x = reader.SignedWord();
    form.y = reader.SignedWord();
    form.width = reader.SignedWord();
    form.height = reader.SignedWord();
    const ResourceName menu = reader.NameOrNumber();
    const ResourceName windowClass = reader.NameOrNumber();
    const std::u16string title = reader.Text();
    std::u16string face;
    if ((form.style & kSetFont) != 0) {
        form.font.points = reader.Word();
        form.font.weight = reader.Word();
        form.font.italic = reader.Byte() != 0;
        form.font.characterSet = reader.Byte();
        face = reader.Text();
    }
    if (reader.Failed()) {
        return Result::Refused("dialog header truncated");
    }
    if (!IsNone(menu) || !IsNone(windowClass)) {
        return Result::Refused("dialog with a menu or a window class of its own");
    }
    std::optional<std::string> titleText = text::Utf16ToWindows1252(title);
    std::optional<std::string> faceText = text::Utf16ToWindows1252(face);
    if (!titleText || !faceText) {
        return Result::Refused("dialog text without a Windows-1252 form");
    }
    form.title = std::move(*titleText);
    form.font.face = std::move(*faceText);
    form.controls.reserve(controlCount);
    for (std::uint16_t i = 0; i < controlCount; ++i) {
        Parsed<ControlTemplate> control = ReadControl(reader);
        if (!control.value) {
            return Result::Refused(control.error);
        }
        form.controls.push_back(std::move(*control.value));
    }
    return {std::move(form), {}};
}

Parsed<std::string> ReadStringTableEntry(std::span<const std::uint8_t> block, unsigned id) {
    using Result = Parsed<std::string>;
    ByteReader reader(block);
    for (unsigned index = 0; index < id % 16; ++index) {
        reader.Skip(2 * std::size_t{reader.Word()});
    }
    const std::size_t length = reader.Word();
    const std::span<const std::uint8_t> units = reader.Take(2 * length);
    if (reader.Failed()) {
        return Result::Refused("string table block truncated");
    }
    if (length == 0) {
        return Result::Refused("no such string");
    }
    assert(units.size() == 2 * length);  // the reader took them all or failed
    std::u16string text(length, u'\0');
    for (std::size_t i = 0; i < length; ++i) {
        text[i] = static_cast<char16_t>(units[2 * i] | (units[2 * i + 1] << 8));
    }
    std::optional<std::string> converted = text::Utf16ToWindows1252(text);
    if (!converted) {
        return Result::Refused("string without a Windows-1252 form");
    }
    return {std::move(converted), {}};
}

Parsed<std::vector<IconGroupEntry>> ReadIconGroup(std::span<const std::uint8_t> group) {
    using Result = Parsed<std::vector<IconGroupEntry>>;
    ByteReader reader(group);
    const std::uint16_t reserved = reader.Word();
    const std::uint16_t kind = reader.Word();
    const std::uint16_t count = reader.Word();
    if (reader.Failed() || reserved != 0 || kind != 1) {
        return Result::Refused("not an icon group");
    }
    std::vector<IconGroupEntry> entries(count);
    for (IconGroupEntry& entry : entries) {
        entry.width = reader.Byte();
        entry.height = reader.Byte();
        entry.colourCount = reader.Byte();
        reader.Byte();
        entry.planes = reader.Word();
        entry.bitsPerPixel = reader.Word();
        entry.size = reader.DoubleWord();
        entry.imageId = reader.Word();
    }
    if (reader.Failed()) {
        return Result::Refused("icon group truncated");
    }
    return {std::move(entries), {}};
}

Parsed<std::vector<std::uint8_t>> AssembleIconFile(
    std::span<const IconGroupEntry> entries,
    std::span<const std::span<const std::uint8_t>> images) {
    using Result = Parsed<std::vector<std::uint8_t>>;
    if (entries.size() != images.size() || entries.empty()) {
        return Result::Refused("icon group without its images");
    }
    constexpr std::size_t kDirectorySize = 6;
    constexpr std::size_t kDirectoryEntrySize = 16;
    std::vector<std::uint8_t> file;
    auto put = [&file](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    put(0, 2);
    put(1, 2);
    put(static_cast<std::uint32_t>(entries.size()), 2);
    std::size_t offset = kDirectorySize + kDirectoryEntrySize * entries.size();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IconGroupEntry& entry = entries[i];
        if (images[i].empty() || images[i].size() != entry.size) {
            return Result::Refused("icon image missing or of the wrong size");
        }
        file.insert(file.end(), {entry.width, entry.height, entry.colourCount, 0});
        put(entry.planes, 2);
        put(entry.bitsPerPixel, 2);
        put(entry.size, 4);
        put(static_cast<std::uint32_t>(offset), 4);
        offset += images[i].size();
    }
    for (const std::span<const std::uint8_t> image : images) {
        file.insert(file.end(), image.begin(), image.end());
    }
    assert(file.size() == offset);  // each image where the directory says
    return {std::move(file), {}};
}

}  // namespace framework
