#pragma once
// The registry, through one class: the open key plus a stack of the keys
// opened before it, so that a caller can go down into a sub-key and come back.
// Values come and go as Variants, whose kind decides the registry type.

#include "core/Array.h"
#include "core/Stack.h"
#include "core/String.h"
#include "core/Variant.h"
#include "platform/RegistryStore.h"

#include <cstdint>

// The system's key handle (HKEY); the predefined roots are HKEY_CURRENT_USER
// and the others of <windows.h>.
struct HKEY__;
using RegistryHandle = HKEY__*;

// Flag bits, one word shared by the operations; each ignores the bits it
// does not use.
inline constexpr uint32_t kRegRequired = 0x2;      // reads: a missing value is fatal
inline constexpr uint32_t kRegEmptyDeletes = 0x8;  // writes: empty or zero deletes the value
inline constexpr uint32_t kRegErrorBox = 0x10;     // opens, deletes: say so in a box
inline constexpr uint32_t kRegOnlyIfEmpty = 0x20;  // key deletion: keep a key with contents
inline constexpr uint32_t kRegOpenExisting = 0x40; // opens: never create
inline constexpr uint32_t kRegBinary = 0x80;       // writes: text as REG_BINARY
inline constexpr uint32_t kRegExpandText = 0x100;  // writes: text as REG_EXPAND_SZ
inline constexpr uint32_t kRegReadOnly = 0x200;    // opens: existing key, read access only

// Results of open.
inline constexpr int kRegOpenFailed = 0;
inline constexpr int kRegOpened = 1;
inline constexpr int kRegCreated = 2;

// Results of key and value deletion.
inline constexpr int kRegDeleted = 1;
inline constexpr int kRegNothingToDelete = 2; // no key open, no name, or the key cannot be opened
inline constexpr int kRegDeleteFailed = 3;
inline constexpr int kRegKeyNotEmpty = 4; // kRegOnlyIfEmpty kept it

class RegistryKey : public HierarchicalStore {
public:
    RegistryKey() = default;
    // Out of line: one copy, where an inline one was emitted in every user.
    ~RegistryKey() override;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // --- Opening and closing ------------------------------------------------
    // kRegOpened or kRegCreated, with the key made current and the previous
    // one kept; kRegOpenFailed leaves everything as it was. `root` is a
    // predefined root or the current key.
    int open(RegistryHandle root, const String& subKeyPath, uint32_t flags);
    // open below the current key; kRegOpenFailed when none is open.
    int openRelative(const String& subKeyPath, uint32_t flags);
    // open of "Software\<subPath>" below the current user or the local machine.
    int openSoftware(const String& subPath, bool currentUser, uint32_t flags);
    // The key "Software\<subPath>" can be opened; false for an empty path.
    static bool softwareKeyExists(const String& subPath, bool currentUser);
    // Makes the previous key current again.
    void close();
    void closeAll();
    bool isOpen() const { return handle_ != nullptr; }
    RegistryHandle handle() const { return handle_; }
    // "HKEY_CURRENT_USER\Software\..." of the current key.
    const String& name() const { return name_; }

    // --- Reading ------------------------------------------------------------
    // Text kinds (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ without the final zero,
    // REG_BINARY as stored) become text; a 4-byte REG_DWORD an Int32. Any
    // other type, or a value that cannot be read, gives false.
    bool readValue(const String& name, Variant& out, uint32_t flags);
    bool readBool(const String& name, bool fallback, uint32_t flags);
    int32_t readInt(const String& name, int32_t fallback, uint32_t flags);
    String readString(const String& name, const String& fallback, uint32_t flags);
    // The same for a literal name.
    String readString(const char* name, const String& fallback, uint32_t flags);
    // The same, empty when the value cannot be read: no fallback made by every caller.
    String readString(const char* name);
    // Opens (creating), reads and closes again.
    bool readBoolAt(RegistryHandle root, const String& subKeyPath, const String& name,
                    bool fallback, uint32_t flags);
    // `out` gets the value, or empty when it cannot be read; false only when
    // the key cannot be opened.
    bool readStringAt(RegistryHandle root, const String& subKeyPath, const String& name,
                      String& out, uint32_t flags);
    // "key\path\value": the fallback when there is no key part or the key
    // cannot be opened.
    String readStringByPath(RegistryHandle root, const String& keyAndValuePath,
                            const String& fallback, uint32_t flags);
    bool valueExists(const String& name);
    // -1 when no key is open or the query fails.
    int subKeyCount();
    bool hasSubKeys() { return subKeyCount() > 0; }
    // Neither sub-keys nor values (also when nothing is open or the query fails).
    bool isEmptyKey();
    // Appends the names of the current key's sub-keys and returns their count;
    // the thread's last error is then 0, or the code that stopped the listing.
    int enumerateSubKeys(Array<String>& out);

    // --- Writing ------------------------------------------------------------
    // A value of no kind is deleted (true), and so is an empty one with
    // kRegEmptyDeletes. Integers are written as REG_DWORD, everything else as
    // text: REG_BINARY, REG_EXPAND_SZ or REG_SZ by the flags.
    bool writeValue(const String& name, const Variant& value, uint32_t flags);
    // With kRegEmptyDeletes, 0 deletes the value and reports true.
    bool writeInt(const String& name, int32_t value, uint32_t flags);
    bool writeBoolAsInt(const String& name, bool value) { return writeInt(name, value ? 1 : 0, 0); }
    // With kRegEmptyDeletes, an empty text deletes the value: true only when
    // there was one to delete.
    bool writeText(const String& name, const String& text, uint32_t flags);
    // The same for a literal name, made a String here once rather than by
    // every caller.
    bool writeInt(const char* name, int32_t value, uint32_t flags);
    bool writeText(const char* name, const String& text, uint32_t flags);
    int deleteValue(const String& name);

    // --- Deleting keys ------------------------------------------------------
    // Deletes the sub-key with everything below it (Windows NT refuses to
    // delete a key that has sub-keys).
    int deleteSubKey(const String& subKeyName, uint32_t flags);
    int deleteKeyAt(RegistryHandle root, const String& parentPath, const String& subKeyName,
                    uint32_t flags);
    // "parent\key"; kRegNothingToDelete when it has no parent part.
    int deleteKeyByPath(RegistryHandle root, const String& path, uint32_t flags);
    int deleteSoftwareKey(const String& parentSubPath, const String& subKeyName, bool currentUser,
                          uint32_t flags);
    int deleteSoftwareKeyByPath(const String& subPath, bool currentUser, uint32_t flags);

    // --- The tree walk ------------------------------------------------------
    bool transferValue(const String& name, Variant& value) override;
    // openRelative(component, 0): missing keys are created.
    bool enter(const String& component) override;

private:
    RegistryHandle handle_ = nullptr;
    String name_;
    Stack<RegistryHandle> handles_;
    Stack<String> names_;
};

// How a failed open or delete with kRegErrorBox is shown: by default a box
// without owner captioned "Registry Error". The text is the system's words
// for the failure; nothing is shown when it has none.
void setRegistryErrorBox(void (*show)(const String& text));

// The text is written to `file` ("WIN.INI" when blank) under [section].
bool writeProfileString(const String& section, const String& key, const String& value,
                        const String& file);

void clearLastError();
void setLastErrorInvalidParameter();
