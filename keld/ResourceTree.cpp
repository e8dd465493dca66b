#include "keld/ResourceTree.h"

#include "format/ArchiveLayout.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace keld {

namespace {

constexpr uint32_t kResourceDirectory = 2;
constexpr uint32_t kSubdirectoryBit = 0x80000000u;
constexpr uint32_t kResourceCharacteristics = 0x40000040u; // initialised data, readable
constexpr int kMaxDepth = 3;                               // type, name, language

struct Image {
    size_t pe = 0;
    size_t table = 0;
    int sections = 0;
};

bool readImage(const Bytes& exe, Image& image) {
    if (exe.size() < 0x40 || exe[0] != 'M' || exe[1] != 'Z')
        return false;
    image.pe = loadU32(exe, kPeOffsetField);
    if (image.pe + kDataDirectoryStart + 8 * 16 > exe.size() ||
        loadU32(exe, image.pe) != uint32_t(kPeSignature))
        return false;
    image.sections = loadU16(exe, image.pe + kNumberOfSectionsField);
    image.table =
        image.pe + kOptionalHeaderStart + loadU16(exe, image.pe + kSizeOfOptionalHeaderField);
    return image.table + size_t(image.sections) * kSectionEntrySize <= exe.size();
}

// The file offset of `size` bytes at `rva`; false when they are not all in one
// section's file bytes.
bool fileOffset(const Bytes& exe, const Image& image, uint32_t rva, uint32_t size, size_t& out) {
    for (int i = 0; i < image.sections; ++i) {
        const size_t entry = image.table + size_t(i) * kSectionEntrySize;
        const uint32_t address = loadU32(exe, entry + kSectionVirtualAddress);
        const uint32_t raw = loadU32(exe, entry + kSectionSizeOfRawData);
        const uint32_t pointer = loadU32(exe, entry + kSectionPointerToRawData);
        if (rva < address || rva - address >= raw)
            continue;
        const uint64_t start = uint64_t(pointer) + (rva - address);
        if (uint64_t(rva - address) + size > raw || start + size > exe.size())
            return false;
        out = size_t(start);
        return true;
    }
    return false;
}

class TreeReader {
public:
    TreeReader(const Bytes& exe, const Image& image, size_t root, uint32_t rootSize)
        : exe_(exe), image_(image), root_(root), size_(rootSize) {}

    bool read(size_t directory, int depth, Resource& path, std::vector<Resource>& out) {
        if (depth >= kMaxDepth || directory + 16 > size_ || ++visited_ > 100000)
            return false;
        const size_t at = root_ + directory;
        const uint32_t count = uint32_t(loadU16(exe_, at + 12)) + loadU16(exe_, at + 14);
        for (uint32_t i = 0; i < count; ++i) {
            const size_t entry = directory + 16 + 8 * size_t(i);
            if (entry + 8 > size_)
                return false;
            const uint32_t name = loadU32(exe_, root_ + entry);
            const uint32_t target = loadU32(exe_, root_ + entry + 4);
            ResourceId id;
            if (name & kSubdirectoryBit) {
                if (!text(name & ~kSubdirectoryBit, id.text))
                    return false;
            } else {
                id.number = name;
            }
            if (depth == 0)
                path.type = id;
            else if (depth == 1)
                path.name = id;
            else
                path.language = id.number;
            if (target & kSubdirectoryBit) {
                if (depth == 2 || !read(target & ~kSubdirectoryBit, depth + 1, path, out))
                    return false;
            } else if (depth != 2 || !data(target, path, out)) {
                return false;
            }
        }
        return true;
    }

private:
    bool text(uint32_t offset, std::u16string& out) {
        if (uint64_t(offset) + 2 > size_)
            return false;
        const uint32_t length = loadU16(exe_, root_ + offset);
        if (length == 0 || uint64_t(offset) + 2 + 2 * uint64_t(length) > size_)
            return false;
        for (uint32_t i = 0; i < length; ++i)
            out += char16_t(loadU16(exe_, root_ + offset + 2 + 2 * i));
        return true;
    }

    bool data(uint32_t offset, Resource& path, std::vector<Resource>& out) {
        if (uint64_t(offset) + 16 > size_)
            return false;
        const uint32_t rva = loadU32(exe_, root_ + offset);
        const uint32_t size = loadU32(exe_, root_ + offset + 4);
        size_t at = 0;
        if (!fileOffset(exe_, image_, rva, size, at))
            return false;
        Resource r = path;
        r.codePage = loadU32(exe_, root_ + offset + 8);
        r.data.assign(exe_.begin() + long(at), exe_.begin() + long(at + size));
        out.push_back(std::move(r));
        return true;
    }

    const Bytes& exe_;
    const Image& image_;
    size_t root_;
    uint32_t size_;
    int visited_ = 0;
};

// Windows finds entries by binary search: texts first, compared as written,
// then numbers, ascending.
bool idBefore(const ResourceId& a, const ResourceId& b) {
    if (a.text.empty() != b.text.empty())
        return !a.text.empty();
    if (!a.text.empty())
        return a.text < b.text;
    return a.number < b.number;
}

struct IdLess {
    bool operator()(const ResourceId& a, const ResourceId& b) const { return idBefore(a, b); }
};

using Languages = std::map<uint32_t, const Resource*>;
using Names = std::map<ResourceId, Languages, IdLess>;
using Types = std::map<ResourceId, Names, IdLess>;

void putDirectory(Bytes& out, size_t at, const std::vector<ResourceId>& ids) {
    uint16_t named = 0;
    for (const ResourceId& id : ids)
        named += id.text.empty() ? 0 : 1;
    storeU16(out, at + 12, named);
    storeU16(out, at + 14, uint16_t(ids.size() - named));
}

} // namespace

bool readResources(const Bytes& exe, std::vector<Resource>& resources, std::string& error) {
    resources.clear();
    Image image;
    if (!readImage(exe, image)) {
        error = "the installer stub is not a Windows program keld can read";
        return false;
    }
    const size_t directory = image.pe + kDataDirectoryStart + 8 * kResourceDirectory;
    if (loadU32(exe, image.pe + kNumberOfRvaAndSizesField) <= kResourceDirectory)
        return true;
    const uint32_t rva = loadU32(exe, directory);
    const uint32_t size = loadU32(exe, directory + 4);
    if (rva == 0 || size == 0)
        return true;
    size_t root = 0;
    Resource path;
    if (!fileOffset(exe, image, rva, size, root) ||
        !TreeReader(exe, image, root, size).read(0, 0, path, resources)) {
        resources.clear();
        error = "the installer stub's resources do not hold together";
        return false;
    }
    return true;
}

Bytes resourceSectionBytes(const std::vector<Resource>& resources, uint32_t sectionAddress) {
    Types types;
    for (const Resource& r : resources)
        types[r.type][r.name][r.language] = &r;

    // Sizes first: the directories, then the texts, then the data entries,
    // then the data, each on a 4-byte boundary (8 for the data).
    size_t directories = 16 + 8 * types.size();
    size_t leaves = 0;
    size_t texts = 0;
    const auto textSize = [](const ResourceId& id) {
        return id.text.empty() ? 0 : (2 + 2 * id.text.size() + 3) & ~size_t(3);
    };
    for (const auto& [type, names] : types) {
        texts += textSize(type);
        directories += 16 + 8 * names.size();
        for (const auto& [name, languages] : names) {
            texts += textSize(name);
            directories += 16 + 8 * languages.size();
            leaves += languages.size();
        }
    }
    const size_t textStart = directories;
    const size_t leafStart = textStart + texts;
    size_t dataStart = alignUp(leafStart + 16 * leaves, 8);
    Bytes out(dataStart, 0);

    size_t nextDirectory = 16 + 8 * types.size();
    size_t nextText = textStart;
    size_t nextLeaf = leafStart;
    const auto putEntry = [&](size_t entry, const ResourceId& id, uint32_t target) {
        if (id.text.empty()) {
            storeU32(out, entry, id.number);
        } else {
            storeU32(out, entry, kSubdirectoryBit | uint32_t(nextText));
            storeU16(out, nextText, uint16_t(id.text.size()));
            for (size_t i = 0; i < id.text.size(); ++i)
                storeU16(out, nextText + 2 + 2 * i, uint16_t(id.text[i]));
            nextText += textSize(id);
        }
        storeU32(out, entry + 4, target);
    };

    std::vector<ResourceId> ids;
    for (const auto& entry : types)
        ids.push_back(entry.first);
    putDirectory(out, 0, ids);
    size_t typeEntry = 16;
    for (const auto& [type, names] : types) {
        const size_t nameDirectory = nextDirectory;
        nextDirectory += 16 + 8 * names.size();
        putEntry(typeEntry, type, kSubdirectoryBit | uint32_t(nameDirectory));
        typeEntry += 8;
        ids.clear();
        for (const auto& entry : names)
            ids.push_back(entry.first);
        putDirectory(out, nameDirectory, ids);
        size_t nameEntry = nameDirectory + 16;
        for (const auto& [name, languages] : names) {
            const size_t languageDirectory = nextDirectory;
            nextDirectory += 16 + 8 * languages.size();
            putEntry(nameEntry, name, kSubdirectoryBit | uint32_t(languageDirectory));
            nameEntry += 8;
            storeU16(out, languageDirectory + 14, uint16_t(languages.size()));
            size_t languageEntry = languageDirectory + 16;
            for (const auto& [language, resource] : languages) {
                storeU32(out, languageEntry, language);
                storeU32(out, languageEntry + 4, uint32_t(nextLeaf));
                languageEntry += 8;
                const size_t at = out.size();
                appendBytes(out, resource->data.data(), resource->data.size());
                out.resize(alignUp(out.size(), 8), 0);
                storeU32(out, nextLeaf, sectionAddress + uint32_t(at));
                storeU32(out, nextLeaf + 4, uint32_t(resource->data.size()));
                storeU32(out, nextLeaf + 8, resource->codePage);
                nextLeaf += 16;
            }
        }
    }
    return out;
}

bool replaceResources(Bytes& exe, const std::vector<Resource>& resources, std::string& error) {
    Image image;
    if (!readImage(exe, image)) {
        error = "the installer stub is not a Windows program keld can read";
        return false;
    }
    const uint32_t sectionAlignment = loadU32(exe, image.pe + kSectionAlignmentField);
    const uint32_t fileAlignment = loadU32(exe, image.pe + kFileAlignmentField);
    const uint32_t sizeOfHeaders = loadU32(exe, image.pe + kSizeOfHeadersField);
    if (sectionAlignment == 0 || fileAlignment == 0 ||
        loadU32(exe, image.pe + kNumberOfRvaAndSizesField) <= kResourceDirectory) {
        error = "the installer stub has no place for resources";
        return false;
    }
    // The new entry, the archive's after it and the empty slot the
    // uninstaller moves must all lie in the headers, before any section.
    const size_t entry = image.table + size_t(image.sections) * kSectionEntrySize;
    size_t room = sizeOfHeaders;
    uint64_t virtualEnd = loadU32(exe, image.pe + kSizeOfImageField);
    uint64_t fileEnd = exe.size();
    for (int i = 0; i < image.sections; ++i) {
        const size_t at = image.table + size_t(i) * kSectionEntrySize;
        const uint32_t pointer = loadU32(exe, at + kSectionPointerToRawData);
        const uint32_t raw = loadU32(exe, at + kSectionSizeOfRawData);
        if (pointer != 0 && raw != 0)
            room = std::min<size_t>(room, pointer);
        virtualEnd = std::max<uint64_t>(virtualEnd,
                                        uint64_t(loadU32(exe, at + kSectionVirtualAddress)) +
                                            std::max(loadU32(exe, at + kSectionVirtualSize), raw));
        fileEnd = std::max<uint64_t>(fileEnd, uint64_t(pointer) + raw);
    }
    if (entry + 3 * kSectionEntrySize > room ||
        std::any_of(exe.begin() + long(entry), exe.begin() + long(entry + 3 * kSectionEntrySize),
                    [](uint8_t b) { return b != 0; })) {
        error = "the installer stub has no header room for its resources and the archive";
        return false;
    }
    const uint64_t address = alignUp(virtualEnd, sectionAlignment);
    const Bytes section = resourceSectionBytes(resources, uint32_t(address));
    const uint64_t raw = alignUp(section.size(), fileAlignment);
    const uint64_t pointer = alignUp(fileEnd, fileAlignment);
    const uint64_t imageSize = address + alignUp(section.size(), sectionAlignment);
    if (imageSize > 0x7FFFFFFF || pointer + raw > 0x7FFFFFFF) {
        error = "the installer stub's resources would grow it beyond 2 GB";
        return false;
    }
    std::memcpy(&exe[entry], ".rsrc", 5);
    storeU32(exe, entry + kSectionVirtualSize, uint32_t(section.size()));
    storeU32(exe, entry + kSectionVirtualAddress, uint32_t(address));
    storeU32(exe, entry + kSectionSizeOfRawData, uint32_t(raw));
    storeU32(exe, entry + kSectionPointerToRawData, uint32_t(pointer));
    storeU32(exe, entry + kSectionCharacteristics, kResourceCharacteristics);
    storeU16(exe, image.pe + kNumberOfSectionsField, uint16_t(image.sections + 1));
    storeU32(exe, image.pe + kSizeOfImageField, uint32_t(imageSize));
    const size_t initialized = image.pe + kSizeOfInitializedDataField;
    storeU32(exe, initialized, loadU32(exe, initialized) + uint32_t(raw));
    const size_t directory = image.pe + kDataDirectoryStart + 8 * kResourceDirectory;
    storeU32(exe, directory, uint32_t(address));
    storeU32(exe, directory + 4, uint32_t(section.size()));
    exe.resize(pointer, 0);
    appendBytes(exe, section.data(), section.size());
    exe.resize(pointer + raw, 0);
    return true;
}

} // namespace keld
