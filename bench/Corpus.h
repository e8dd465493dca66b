#pragma once
// The benchmark's corpus, gathered from the machine's own files so that no
// data set has to be kept in the repository: C headers for text, programs
// for binary, and an installer-like mix of libraries, documentation and
// shared data. The walk is sorted, so the same machine gives the same corpus.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct CorpusFile {
    std::string name;
    std::string origin; // where its bytes came from
    std::vector<uint8_t> bytes;
};

// Each part holds about `partSize` bytes.
std::vector<CorpusFile> makeCorpus(size_t partSize);

} // namespace bench
