#pragma once
// The readable names a project uses for the archive's numbers: ProductFlags
// bits, destination kinds, existence rules, attributes, systems, uninstall
// value types and deletion conditions. inspect prints the same names.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace keld {

struct NamedValue {
    const char* name;
    uint64_t value;
};

const std::vector<NamedValue>& productFlagNames();
const std::vector<NamedValue>& destinationKindNames();
const std::vector<NamedValue>& existenceRuleNames();
const std::vector<NamedValue>& attributeNames();
const std::vector<NamedValue>& systemNames();
const std::vector<NamedValue>& uninstallValueTypeNames();
const std::vector<NamedValue>& deletionConditionNames();

// The value of `name` in `table` (exact spelling), or nothing.
std::optional<uint64_t> valueOf(const std::vector<NamedValue>& table, const std::string& name);
// The name of `value`, or "" when the table has none.
std::string nameOf(const std::vector<NamedValue>& table, uint64_t value);
// The names of the bits set in `bits`; bits without a name as one hex number.
std::vector<std::string> bitNames(const std::vector<NamedValue>& table, uint64_t bits);
// "a, b or c", for messages.
std::string nameList(const std::vector<NamedValue>& table);

} // namespace keld
