// The [pages], [batches] and [output] tables.
#include "keld/ProjectReading.h"

namespace keld {

namespace {

// Pages go into a multi-line edit control and batches into .BAT files: both
// want CR LF line breaks, whatever the publisher's editor wrote.
std::string withCrLf(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        out += "\r\n";
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if ((next == '\r' || next == '\n') && next != c)
            ++i;
    }
    return out;
}

void batch(ProjectReading& r, const toml::table& batches, const char* key, String& out) {
    std::string text;
    std::string converted;
    if (batches.get(key) && r.text(batches, key, text) &&
        r.installerText(*batches.get(key), withCrLf(text), converted))
        out = String(converted.c_str());
}

// A file name or a list of them; each file becomes one page.
void readPageFiles(ProjectReading& r, const toml::table& pages, const char* key,
                   const SettingsRange& range, Array<String>& out) {
    const toml::node* node = pages.get(key);
    if (!node)
        return;
    std::vector<const toml::node*> names;
    if (const toml::array* list = node->as_array()) {
        for (const toml::node& item : *list)
            names.push_back(&item);
    } else {
        names.push_back(node);
    }
    if (int64_t(names.size()) > range.max) {
        r.error(*node, std::string("at most ") + std::to_string(range.max) + " " + key +
                           " pages, not " + std::to_string(names.size()));
        return;
    }
    for (const toml::node* name : names) {
        const auto* text = name->as_string();
        if (!text) {
            r.error(*name, std::string("\"") + key + "\" names text files, in double quotes");
            continue;
        }
        std::string bytes;
        if (!r.readSource(*name, r.resolve(text->get()), bytes))
            continue;
        if (bytes.find('\0') != std::string::npos) {
            r.error(*name,
                    "the page \"" + text->get() + "\" holds a zero byte; save it as UTF-8 text");
            continue;
        }
        std::string converted;
        if (!r.installerFile(r.resolve(text->get()), bytes, converted))
            continue;
        bytes = withCrLf(converted);
        out.append(String(bytes.data(), int(bytes.size())));
    }
}

} // namespace

void readPagesAndBatches(ProjectReading& r, const toml::table& root) {
    InstallSettings& s = r.project().settings;
    if (const toml::table* pages = r.table(root, "pages")) {
        r.onlyKeys(*pages, {"license", "readme"}, "[pages]");
        readPageFiles(r, *pages, "license", kLicenseCountRange, s.licenseTexts);
        readPageFiles(r, *pages, "readme", kReadmeCountRange, s.readmeTexts);
    }
    if (const toml::table* batches = r.table(root, "batches")) {
        r.onlyKeys(*batches, {"pre-install", "post-install", "exit", "uninstall-1", "uninstall-2"},
                   "[batches]");
        batch(r, *batches, "pre-install", s.preInstallBatch);
        batch(r, *batches, "post-install", s.postInstallBatch);
        batch(r, *batches, "exit", s.exitBatch);
        batch(r, *batches, "uninstall-1", s.uninstallBatch1);
        batch(r, *batches, "uninstall-2", s.uninstallBatch2);
    }
}

void readOutput(ProjectReading& r, const toml::table& root) {
    InstallSettings& s = r.project().settings;
    OutputOptions& out = r.project().output;
    const toml::table* output = r.table(root, "output");
    if (output) {
        r.onlyKeys(*output,
                   {"file", "compression", "data", "volume-size", "volume-name", "volume-tag",
                    "verify-installer"},
                   "[output]");
        r.text(*output, "file", out.file);
        std::string compression = "best";
        if (r.text(*output, "compression", compression)) {
            if (compression == "none")
                out.compress = false;
            else if (compression == "fast")
                out.level = CompressionLevel::Fast;
            else if (compression != "best")
                r.error(*output->get("compression"),
                        "\"compression\" is \"best\", \"fast\" or \"none\"");
        }
        std::string data = "section";
        if (r.text(*output, "data", data)) {
            if (data == "beyond-image")
                out.placement = DataPlacement::BeyondImage;
            else if (data != "section")
                r.error(*output->get("data"), "\"data\" is \"section\" or \"beyond-image\"");
        }
        // Smaller volumes than a sector's worth of data make no sense on any disk.
        r.integer(*output, "volume-size", 512, kMaxBlockInput, out.volumeSize);
        r.text(*output, "volume-name", s.volumeBaseName);
        if (output->get("volume-name") && s.volumeBaseName.isBlank())
            r.error(*output->get("volume-name"), "\"volume-name\" must not be blank");
        int64_t tag = 0;
        if (r.integer(*output, "volume-tag", INT32_MIN, UINT32_MAX, tag))
            s.volumeTag = int32_t(uint32_t(tag));
        bool verify = false;
        r.boolean(*output, "verify-installer", verify);
        if (verify)
            s.productFlags |= VerifyInstaller;
    }
    if (s.has(CompressedData) && !out.compress)
        r.error("the flag \"CompressedData\" contradicts compression = \"none\"");
    if (out.compress)
        s.productFlags |= CompressedData;
    s.dataBeyondImage = out.placement == DataPlacement::BeyondImage ? 1 : 0;
}

} // namespace keld
