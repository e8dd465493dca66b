#include "core/ArrayCore.h"
#include "core/Iterator.h"

// Each function is its own section, so a program links only the operations it
// calls, and through them only the array operations it uses.
namespace sequence_engine {
namespace {

SequenceCore& core(SequenceEngine& engine) {
    return static_cast<SequenceCore&>(engine);
}

// An Array's engine is called directly; every other kind through its table.
template <typename Operation> auto onEngine(SequenceEngine& engine, Operation operation) {
    if (ArrayCore* array = engine.arrayCore())
        return operation(*array);
    return operation(core(engine));
}

} // namespace

void* walkForward(SequenceEngine& engine, Iterator& it) {
    return onEngine(engine, [&](auto& c) { return c.walkForward(it); });
}

void* walkNext(SequenceEngine& engine, Iterator& it) {
    return onEngine(engine, [&](auto& c) { return c.walkNext(it); });
}

void* walkBackward(SequenceEngine& engine, Iterator& it) {
    return onEngine(engine, [&](auto& c) { return c.walkBackward(it); });
}

void* walkPrevious(SequenceEngine& engine, Iterator& it) {
    return onEngine(engine, [&](auto& c) { return c.walkPrevious(it); });
}

void* first(SequenceEngine& engine) {
    return onEngine(engine, [&](auto& c) { return c.firstElement(); });
}

void* last(SequenceEngine& engine) {
    return onEngine(engine, [&](auto& c) { return c.lastElement(); });
}

void* any(SequenceEngine& engine) {
    return onEngine(engine, [&](auto& c) { return c.anyElement(); });
}

void* appendCopy(SequenceEngine& engine, const void* value) {
    return onEngine(engine, [&](auto& c) { return c.appendCopy(value); });
}

void* appendMoved(SequenceEngine& engine, void* value) {
    return onEngine(engine, [&](auto& c) { return c.appendMoved(value); });
}

void* appendDefault(SequenceEngine& engine) {
    return onEngine(engine, [&](auto& c) { return c.appendDefault(); });
}

void* prependCopy(SequenceEngine& engine, const void* value) {
    return onEngine(engine, [&](auto& c) { return c.prependCopy(value); });
}

void* prependMoved(SequenceEngine& engine, void* value) {
    return onEngine(engine, [&](auto& c) { return c.prependMoved(value); });
}

void appendAllOf(SequenceEngine& engine, SequenceEngine& other) {
    onEngine(engine, [&](auto& c) { c.appendAllOf(other); });
}

void prependAllOf(SequenceEngine& engine, SequenceEngine& other) {
    onEngine(engine, [&](auto& c) { c.prependAllOf(other); });
}

void clear(SequenceEngine& engine) {
    onEngine(engine, [&](auto& c) { c.clear(); });
}

void takeFirst(SequenceEngine& engine, void* into) {
    onEngine(engine, [&](auto& c) { c.takeFirst(into); });
}

void takeLast(SequenceEngine& engine, void* into) {
    onEngine(engine, [&](auto& c) { c.takeLast(into); });
}

void takeCurrent(SequenceEngine& engine, Iterator& it, void* into) {
    onEngine(engine, [&](auto& c) { c.takeCurrent(it, into); });
}

int removeFromFront(SequenceEngine& engine, int n) {
    return onEngine(engine, [&](auto& c) { return c.removeFromFront(n); });
}

int removeFromBack(SequenceEngine& engine, int n) {
    return onEngine(engine, [&](auto& c) { return c.removeFromBack(n); });
}

void rotate(SequenceEngine& engine, int n) {
    onEngine(engine, [&](auto& c) { c.rotate(n); });
}

void rotateBack(SequenceEngine& engine, int n) {
    onEngine(engine, [&](auto& c) { c.rotateBack(n); });
}

} // namespace sequence_engine
