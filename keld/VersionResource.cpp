#include "keld/VersionResource.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace keld {

namespace {

using Bytes = std::vector<uint8_t>;

std::optional<uint32_t> u16At(const Bytes& b, size_t offset) {
    if (offset > b.size() || b.size() - offset < 2)
        return std::nullopt;
    return uint32_t(b[offset] | b[offset + 1] << 8);
}

std::optional<uint32_t> u32At(const Bytes& b, size_t offset) {
    if (offset > b.size() || b.size() - offset < 4)
        return std::nullopt;
    return uint32_t(b[offset]) | uint32_t(b[offset + 1]) << 8 | uint32_t(b[offset + 2]) << 16 |
           uint32_t(b[offset + 3]) << 24;
}

// The file offset of a relative virtual address, through the section table.
std::optional<size_t> fileOffset(const Bytes& b, size_t sections, uint32_t count, uint32_t rva) {
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = sections + 40 * size_t(i);
        const auto va = u32At(b, entry + 12), rawSize = u32At(b, entry + 16),
                   raw = u32At(b, entry + 20), vsize = u32At(b, entry + 8);
        if (!va || !rawSize || !raw || !vsize)
            return std::nullopt;
        const uint32_t span = std::max(*rawSize, *vsize);
        if (rva >= *va && rva - *va < span) {
            const size_t offset = size_t(*raw) + (rva - *va);
            return offset < b.size() ? std::optional<size_t>(offset) : std::nullopt;
        }
    }
    return std::nullopt;
}

// The version resource's bytes: type 16, its first name, its first language.
std::optional<Bytes> versionResource(const Bytes& b) {
    const auto pe = u32At(b, 0x3C);
    if (b.size() < 64 || b[0] != 'M' || b[1] != 'Z' || !pe || u32At(b, *pe) != 0x00004550u)
        return std::nullopt;
    const auto count = u16At(b, *pe + 6), optionalSize = u16At(b, *pe + 20),
               magic = u16At(b, *pe + 24);
    if (!count || !optionalSize || !magic)
        return std::nullopt;
    const size_t directories = *pe + 24 + (*magic == 0x20B ? 112 : 96);
    const auto resourceRva = u32At(b, directories + 8 * 2);
    const size_t sections = *pe + 24 + *optionalSize;
    if (!resourceRva || *resourceRva == 0)
        return std::nullopt;
    const auto root = fileOffset(b, sections, *count, *resourceRva);
    if (!root)
        return std::nullopt;

    // Walks one level: the entry with `id`, or the first when id is 0.
    const auto enter = [&b](size_t directory, uint32_t id) -> std::optional<uint32_t> {
        const auto named = u16At(b, directory + 12), ids = u16At(b, directory + 14);
        if (!named || !ids)
            return std::nullopt;
        for (uint32_t i = 0; i < *named + *ids; ++i) {
            const auto name = u32At(b, directory + 16 + 8 * size_t(i));
            const auto target = u32At(b, directory + 20 + 8 * size_t(i));
            if (!name || !target)
                return std::nullopt;
            if (id == 0 || *name == id)
                return *target;
        }
        return std::nullopt;
    };
    size_t directory = *root;
    const uint32_t path[] = {16, 0, 0};
    uint32_t target = 0;
    for (uint32_t id : path) {
        const auto next = enter(directory, id);
        if (!next)
            return std::nullopt;
        target = *next;
        directory = *root + (target & 0x7FFFFFFF);
        if (id != path[2] && !(target & 0x80000000u))
            return std::nullopt;
    }
    if (target & 0x80000000u)
        return std::nullopt;
    const auto dataRva = u32At(b, directory), dataSize = u32At(b, directory + 4);
    if (!dataRva || !dataSize)
        return std::nullopt;
    const auto data = fileOffset(b, sections, *count, *dataRva);
    if (!data || *dataSize > b.size() - *data)
        return std::nullopt;
    return Bytes(b.begin() + long(*data), b.begin() + long(*data + *dataSize));
}

// One node of the version tree: a length, a value length, a type, a UTF-16
// key, the value and the children, each on a 4-byte boundary.
struct Node {
    std::string key;
    size_t value = 0;
    size_t valueLength = 0; // bytes
    size_t children = 0;
    size_t end = 0;
};

std::optional<Node> nodeAt(const Bytes& b, size_t offset, size_t limit) {
    const auto length = u16At(b, offset), valueLength = u16At(b, offset + 2),
               type = u16At(b, offset + 4);
    if (!length || !valueLength || !type || *length < 6 || offset + *length > limit)
        return std::nullopt;
    Node node;
    node.end = offset + *length;
    size_t at = offset + 6;
    while (true) {
        const auto c = u16At(b, at);
        if (!c || at >= node.end)
            return std::nullopt;
        at += 2;
        if (*c == 0)
            break;
        node.key += char(*c & 0xFF);
    }
    node.value = (at + 3) & ~size_t(3);
    // A text value's length counts UTF-16 characters.
    node.valueLength = *type == 1 ? *valueLength * 2 : *valueLength;
    node.children = std::min(node.end, (node.value + node.valueLength + 3) & ~size_t(3));
    return node;
}

std::vector<Node> childrenOf(const Bytes& b, const Node& parent) {
    std::vector<Node> nodes;
    for (size_t at = parent.children; at < parent.end;) {
        const auto node = nodeAt(b, at, parent.end);
        if (!node)
            break;
        nodes.push_back(*node);
        at = (node->end + 3) & ~size_t(3);
    }
    return nodes;
}

std::string textValue(const Bytes& b, const Node& node) {
    std::string text;
    for (size_t at = node.value; at + 1 < node.value + node.valueLength && at + 1 < b.size();
         at += 2) {
        const uint32_t c = uint32_t(b[at] | b[at + 1] << 8);
        if (c == 0)
            break;
        text += char(c & 0xFF);
    }
    return text;
}

std::string normalised(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == ',')
            out += '.';
        else if (c != ' ' && c != '\r' && c != '\n' && c != '\t')
            out += c;
    }
    return out;
}

} // namespace

std::string fileVersionText(const std::vector<uint8_t>& image) {
    const auto resource = versionResource(image);
    if (!resource)
        return std::string();
    const Bytes& b = *resource;
    const auto root = nodeAt(b, 0, b.size());
    if (!root || root->key != "VS_VERSION_INFO")
        return std::string();
    for (const Node& info : childrenOf(b, *root)) {
        if (info.key != "StringFileInfo")
            continue;
        for (const Node& table : childrenOf(b, info))
            for (const Node& value : childrenOf(b, table))
                if (value.key == "FileVersion")
                    return normalised(textValue(b, value));
    }
    const auto signature = u32At(b, root->value);
    if (root->valueLength < 52 || signature != 0xFEEF04BDu)
        return std::string();
    const uint32_t ms = *u32At(b, root->value + 8), ls = *u32At(b, root->value + 12);
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF);
    return text;
}

} // namespace keld
