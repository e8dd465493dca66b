#include "core/OutOfMemory.h"

#include "core/Fatal.h"

#include "core/FormatText.h"

namespace {

// Static: the allocator has just failed, the text must outlive the call, and
// the dump must not read the very buffer it is writing.
char gOutOfMemoryText[kOutOfMemoryTextSize];
uint32_t gStackWords[kStackDumpWords];

// Fills `words` with the markers followed by the stack words above them.
// Only the 32-bit Windows build reads the real stack, bounded by the top of the
// thread's stack; elsewhere (the sanitizer builds) the dump stays inside this
// function's own frame.
__attribute__((noinline)) void captureStack(uint32_t* words, unsigned size) {
#if defined(_WIN32) && defined(__i386__)
    volatile uint32_t markers[2] = {kStackMarkerFirst, kStackMarkerSecond};
    const volatile uint32_t* cursor = markers;
    // The dump walks on past the markers into the callers' frames: hide where
    // the pointer came from so that the reads stay plain loads.
    asm volatile("" : "+r"(cursor));
    uintptr_t stackTop;
    asm volatile("movl %%fs:4, %0" : "=r"(stackTop)); // the thread's StackBase
    for (int i = 0; i < kStackDumpWords; ++i) {
        const auto address = reinterpret_cast<uintptr_t>(cursor + i);
        words[i] = address + sizeof(uint32_t) <= stackTop ? cursor[i] : 0;
    }
    (void)size;
#else
    volatile uint32_t frame[kStackDumpWords] = {kStackMarkerFirst, kStackMarkerSecond, size};
    const auto caller = reinterpret_cast<uintptr_t>(__builtin_return_address(0));
    frame[3] = static_cast<uint32_t>(caller);
    frame[4] = static_cast<uint32_t>(static_cast<unsigned long long>(caller) >> 32);
    for (int i = 0; i < kStackDumpWords; ++i)
        words[i] = frame[i];
#endif
}

} // namespace

int formatOutOfMemory(char* text, unsigned size, const uint32_t* words) {
    int length = formatText(text, kOutOfMemoryTextSize,
                            "Out Of Memory.  Make sure your hard drive is not full.\n"
                            "Requested size = %u (0x%08X)\n\nStack contents:",
                            size, size);
    for (int i = 0; i < kStackDumpWords && length >= 0; ++i) {
        int n = formatText(text + length, kOutOfMemoryTextSize - length, "%c%08X",
                           i % 8 == 0 ? '\r' : ' ', static_cast<unsigned>(words[i]));
        length = n < 0 ? -1 : length + n;
    }
    return length < 0 ? kOutOfMemoryTextSize - 1 : length;
}

void outOfMemory(unsigned size) {
    captureStack(gStackWords, size);
    formatOutOfMemory(gOutOfMemoryText, size, gStackWords);
    fatalError(gOutOfMemoryText);
}
