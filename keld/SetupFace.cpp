#include "keld/SetupFace.h"

#include <algorithm>

namespace keld {

namespace {

constexpr uint32_t kEnglishUnitedStates = 0x0409;
constexpr uint32_t kUnicodeCodePage = 1200;
constexpr size_t kIconDirectorySize = 6;
constexpr size_t kIconEntrySize = 16;

std::u16string utf16(const std::string& utf8) {
    std::u16string out;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        uint32_t c = lead;
        size_t count = 0;
        if (lead >= 0xF0)
            c = lead & 0x07, count = 3;
        else if (lead >= 0xE0)
            c = lead & 0x0F, count = 2;
        else if (lead >= 0xC0)
            c = lead & 0x1F, count = 1;
        for (size_t k = 1; k <= count && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += count + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

void appendText16(Bytes& out, const std::u16string& text) {
    for (char16_t c : text)
        appendU16(out, uint16_t(c));
    appendU16(out, 0);
}

void pad4(Bytes& out) {
    while (out.size() % 4)
        out.push_back(0);
}

// One node: length, value length, type, key, value, children; the length is
// filled in once the children are there.
size_t beginNode(Bytes& out, const std::u16string& key, uint16_t valueLength, bool text) {
    pad4(out);
    const size_t start = out.size();
    appendU16(out, 0);
    appendU16(out, valueLength);
    appendU16(out, text ? 1 : 0);
    appendText16(out, key);
    pad4(out);
    return start;
}

void endNode(Bytes& out, size_t start) {
    storeU16(out, start, uint16_t(out.size() - start));
}

void stringNode(Bytes& out, const std::u16string& key, const std::string& value) {
    const std::u16string text = utf16(value);
    const size_t node = beginNode(out, key, uint16_t(text.size() + 1), true);
    appendText16(out, text);
    endNode(out, node);
}

} // namespace

void versionNumbers(const std::string& version, uint16_t numbers[4]) {
    std::fill(numbers, numbers + 4, uint16_t(0));
    int found = 0;
    for (size_t i = 0; i < version.size() && found < 4;) {
        if (version[i] < '0' || version[i] > '9') {
            ++i;
            continue;
        }
        uint32_t value = 0;
        for (; i < version.size() && version[i] >= '0' && version[i] <= '9'; ++i)
            value = std::min<uint32_t>(value * 10 + uint32_t(version[i] - '0'), 65535);
        numbers[found++] = uint16_t(value);
    }
}

Bytes versionInfoBytes(const SetupIdentity& identity) {
    uint16_t v[4];
    versionNumbers(identity.version, v);
    const uint32_t ms = uint32_t(v[0]) << 16 | v[1];
    const uint32_t ls = uint32_t(v[2]) << 16 | v[3];

    Bytes out;
    const size_t root = beginNode(out, u"VS_VERSION_INFO", 52, false);
    const uint32_t fixed[] = {
        0xFEEF04BD, 0x00010000, ms, ls, ms, ls, 0x3F, 0, // no flags set
        0x00040004,                                      // VOS_NT_WINDOWS32
        1,                                               // VFT_APP
        0,          0,          0,
    };
    for (uint32_t value : fixed)
        appendU32(out, value);

    const size_t strings = beginNode(out, u"StringFileInfo", 0, true);
    const size_t table = beginNode(out, u"040904B0", 0, true);
    const std::pair<const char16_t*, std::string> values[] = {
        {u"CompanyName", identity.publisher},    {u"FileDescription", identity.description},
        {u"FileVersion", identity.version},      {u"InternalName", "setup"},
        {u"LegalCopyright", identity.copyright}, {u"OriginalFilename", "setup.exe"},
        {u"ProductName", identity.productName},  {u"ProductVersion", identity.version},
    };
    for (const auto& [key, value] : values)
        if (!value.empty())
            stringNode(out, key, value);
    endNode(out, table);
    endNode(out, strings);

    const size_t var = beginNode(out, u"VarFileInfo", 0, true);
    const size_t translation = beginNode(out, u"Translation", 4, false);
    appendU16(out, uint16_t(kEnglishUnitedStates));
    appendU16(out, uint16_t(kUnicodeCodePage));
    endNode(out, translation);
    endNode(out, var);
    endNode(out, root);
    return out;
}

std::string iconProblem(const Bytes& ico) {
    if (ico.size() < kIconDirectorySize || loadU16(ico, 0) != 0 || loadU16(ico, 2) != 1)
        return "is not an icon (.ico) file";
    const uint32_t count = loadU16(ico, 4);
    if (count == 0)
        return "holds no picture";
    if (kIconDirectorySize + kIconEntrySize * size_t(count) > ico.size())
        return "ends inside its list of pictures";
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = kIconDirectorySize + kIconEntrySize * i;
        const uint32_t size = loadU32(ico, entry + 8);
        const uint32_t offset = loadU32(ico, entry + 12);
        if (size == 0 || offset > ico.size() || size > ico.size() - offset)
            return "has picture " + std::to_string(i + 1) + " beyond its end";
    }
    return std::string();
}

std::vector<Resource> withIdentity(std::vector<Resource> resources, const SetupIdentity& identity) {
    const auto isType = [](uint32_t type) {
        return [type](const Resource& r) { return r.type.text.empty() && r.type.number == type; };
    };
    resources.erase(std::remove_if(resources.begin(), resources.end(), isType(VersionResource)),
                    resources.end());
    Resource version;
    version.type.number = VersionResource;
    version.name.number = 1;
    version.language = kEnglishUnitedStates;
    version.data = versionInfoBytes(identity);
    resources.push_back(version);
    if (identity.icon.empty())
        return resources;

    // Explorer shows the first icon group; the stub's own, if any, gives its
    // name and language, and all of its pictures go.
    Resource group;
    group.type.number = GroupIconResource;
    group.name.number = 1;
    group.language = kEnglishUnitedStates;
    for (const Resource& r : resources)
        if (r.type.text.empty() && r.type.number == GroupIconResource) {
            group.name = r.name;
            group.language = r.language;
            break;
        }
    resources.erase(std::remove_if(resources.begin(), resources.end(), isType(IconResource)),
                    resources.end());
    resources.erase(std::remove_if(resources.begin(), resources.end(), isType(GroupIconResource)),
                    resources.end());

    const Bytes& ico = identity.icon;
    const uint16_t count = loadU16(ico, 4);
    appendU16(group.data, 0);
    appendU16(group.data, 1);
    appendU16(group.data, count);
    for (uint16_t i = 0; i < count; ++i) {
        const size_t entry = kIconDirectorySize + kIconEntrySize * i;
        const uint32_t size = loadU32(ico, entry + 8);
        const uint32_t offset = loadU32(ico, entry + 12);
        Resource picture;
        picture.type.number = IconResource;
        picture.name.number = i + 1u;
        picture.language = group.language;
        picture.data.assign(ico.begin() + long(offset), ico.begin() + long(offset + size));
        resources.push_back(picture);
        // The file's entry, with the picture's number where the file has its offset.
        appendBytes(group.data, &ico[entry], 12);
        appendU16(group.data, uint16_t(i + 1));
    }
    resources.push_back(group);
    return resources;
}

bool giveSetupItsFace(Bytes& stub, const SetupIdentity& identity, std::string& error) {
    std::vector<Resource> resources;
    if (!readResources(stub, resources, error))
        return false;
    if (!identity.icon.empty()) {
        const std::string problem = iconProblem(identity.icon);
        if (!problem.empty()) {
            error = "the icon " + problem;
            return false;
        }
    }
    return replaceResources(stub, withIdentity(std::move(resources), identity), error);
}

} // namespace keld
