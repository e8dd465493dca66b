// Our block format against deflate and xz on one corpus, in one run:
//   decode/<codec>/<part>    decoding speed (bytes/s counts decoded bytes);
//                            ours decodes the best level's block, inflate
//                            decodes gzip -9's, memcpy copies the part
//   compress/<codec>/<part>  compression speed (wall clock) and the compressed
//                            size (counters "out" in bytes and "ratio" = out / in);
//                            best uses every processor, best-1t one thread,
//                            xz-9 is xz -9 -T1
// Build with the bench preset and run build/bench/bench/compression_bench.

#include "bench/Corpus.h"
#include "format/CompressedBlock.h"
#include "keld/Encoder.h"

#include <benchmark/benchmark.h>
#include <lzma.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kPartSize = 8 << 20;

Bytes encodeOurs(const Bytes& in, keld::CompressionLevel level, unsigned threads = 0) {
    Bytes block;
    keld::encodeCompressedBlock(in.data(), in.size(), level, block, nullptr, threads);
    return block;
}

// gzip -9: deflate at level 9 with the gzip wrapper.
Bytes encodeGzip(const Bytes& in) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
    Bytes out(deflateBound(&z, uLong(in.size())));
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = uInt(in.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

bool inflateGzip(const Bytes& in, Bytes& out) {
    z_stream z{};
    inflateInit2(&z, 15 + 16);
    z.next_in = const_cast<Bytef*>(in.data());
    z.avail_in = uInt(in.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    const int result = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return result == Z_STREAM_END;
}

// xz -9 -T1: preset 9 with a CRC64 check, as the xz tool writes, on one thread.
Bytes encodeXz(const Bytes& in) {
    Bytes out(lzma_stream_buffer_bound(in.size()));
    size_t used = 0;
    lzma_easy_buffer_encode(9, LZMA_CHECK_CRC64, nullptr, in.data(), in.size(), out.data(), &used,
                            out.size());
    out.resize(used);
    return out;
}

struct Codec {
    const char* name;
    Bytes (*encode)(const Bytes&);
};

const Codec kCodecs[] = {
    {"fast", [](const Bytes& in) { return encodeOurs(in, keld::CompressionLevel::Fast); }},
    {"best", [](const Bytes& in) { return encodeOurs(in, keld::CompressionLevel::Best); }},
    {"best-1t", [](const Bytes& in) { return encodeOurs(in, keld::CompressionLevel::Best, 1); }},
    {"gzip-9", encodeGzip},
    {"xz-9", encodeXz},
};

std::vector<bench::CorpusFile>& corpus() {
    static std::vector<bench::CorpusFile> files = bench::makeCorpus(kPartSize);
    return files;
}

// Compressed forms, made once: the decoders' inputs and the size table.
std::map<std::string, Bytes>& compressed() {
    static std::map<std::string, Bytes> blocks;
    return blocks;
}

// A decoder's input: what its compressing benchmark made, or made here when
// that one was filtered out.
const Bytes& compressedBy(const std::string& codecName, const bench::CorpusFile& file) {
    const std::string key = codecName + "/" + file.name;
    auto found = compressed().find(key);
    if (found == compressed().end()) {
        for (const Codec& codec : kCodecs)
            if (codecName == codec.name)
                found = compressed().emplace(key, codec.encode(file.bytes)).first;
    }
    return found->second;
}

void compressPart(benchmark::State& state, const Codec& codec, const bench::CorpusFile& file) {
    Bytes out;
    for (auto _ : state) {
        out = codec.encode(file.bytes);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.bytes.size()));
    state.counters["out"] = double(out.size());
    state.counters["ratio"] = double(out.size()) / double(file.bytes.size());
    compressed()[std::string(codec.name) + "/" + file.name] = out;
}

void decodeOurs(benchmark::State& state, const bench::CorpusFile& file) {
    const Bytes& block = compressedBy("best", file);
    Bytes out(file.bytes.size());
    for (auto _ : state) {
        if (decodeCompressedBlock(block.data(), block.size(), out.data(), out.size()) !=
            BlockStatus::Ok)
            state.SkipWithError("block did not decode");
        benchmark::ClobberMemory();
    }
    if (out != file.bytes)
        state.SkipWithError("decoded bytes differ");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

void decodeInflate(benchmark::State& state, const bench::CorpusFile& file) {
    const Bytes& stream = compressedBy("gzip-9", file);
    Bytes out(file.bytes.size());
    for (auto _ : state) {
        if (!inflateGzip(stream, out))
            state.SkipWithError("stream did not inflate");
        benchmark::ClobberMemory();
    }
    if (out != file.bytes)
        state.SkipWithError("inflated bytes differ");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

void decodeMemcpy(benchmark::State& state, const bench::CorpusFile& file) {
    Bytes out(file.bytes.size());
    for (auto _ : state) {
        std::memcpy(out.data(), file.bytes.data(), out.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

void printSizes() {
    std::printf("\n%-8s %12s", "part", "bytes");
    for (const Codec& codec : kCodecs)
        std::printf(" %12s", codec.name);
    std::printf("\n");
    for (const auto& file : corpus()) {
        std::printf("%-8s %12zu", file.name.c_str(), file.bytes.size());
        for (const Codec& codec : kCodecs) {
            const auto found = compressed().find(std::string(codec.name) + "/" + file.name);
            if (found == compressed().end())
                std::printf(" %12s", "-");
            else
                std::printf(" %12zu", found->second.size());
        }
        std::printf("\n");
    }
    for (const auto& file : corpus())
        std::printf("%s: %s\n", file.name.c_str(), file.origin.c_str());
}

} // namespace

int main(int argc, char** argv) {
    // Compression first: the decoders read what it made.
    for (const auto& file : corpus()) {
        for (const Codec& codec : kCodecs) {
            const std::string name = std::string("compress/") + codec.name + "/" + file.name;
            benchmark::RegisterBenchmark(name.c_str(), compressPart, codec, file)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->UseRealTime(); // the best level runs on every processor
        }
    }
    for (const auto& file : corpus()) {
        benchmark::RegisterBenchmark(("decode/ours/" + file.name).c_str(), decodeOurs, file)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("decode/inflate/" + file.name).c_str(), decodeInflate, file)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("decode/memcpy/" + file.name).c_str(), decodeMemcpy, file)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSizes();
    return 0;
}
