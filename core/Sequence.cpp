#include "core/ArrayCore.h"
#include "core/Iterator.h"

// Each function is its own section, so a program links only the operations it
// calls, and through them only the array operations it uses.
namespace sequence_engine {
namespace {

SequenceCore& core(SequenceEngine& engine) {
    return static_cast<SequenceCore&>(engine);
}

} // namespace

void* walkForward(SequenceEngine& engine, Iterator& it) {
    if (ArrayCore* array = engine.arrayCore())
        return array->walkForward(it);
    return core(engine).walkForward(it);
}

void* walkNext(SequenceEngine& engine, Iterator& it) {
    if (ArrayCore* array = engine.arrayCore())
        return array->walkNext(it);
    return core(engine).walkNext(it);
}

void* walkBackward(SequenceEngine& engine, Iterator& it) {
    if (ArrayCore* array = engine.arrayCore())
        return array->walkBackward(it);
    return core(engine).walkBackward(it);
}

void* walkPrevious(SequenceEngine& engine, Iterator& it) {
    if (ArrayCore* array = engine.arrayCore())
        return array->walkPrevious(it);
    return core(engine).walkPrevious(it);
}

void* first(SequenceEngine& engine) {
    if (ArrayCore* array = engine.arrayCore())
        return array->firstElement();
    return core(engine).firstElement();
}

void* last(SequenceEngine& engine) {
    if (ArrayCore* array = engine.arrayCore())
        return array->lastElement();
    return core(engine).lastElement();
}

void* any(SequenceEngine& engine) {
    if (ArrayCore* array = engine.arrayCore())
        return array->anyElement();
    return core(engine).anyElement();
}

void* appendCopy(SequenceEngine& engine, const void* value) {
    if (ArrayCore* array = engine.arrayCore())
        return array->appendCopy(value);
    return core(engine).appendCopy(value);
}

void* appendMoved(SequenceEngine& engine, void* value) {
    if (ArrayCore* array = engine.arrayCore())
        return array->appendMoved(value);
    return core(engine).appendMoved(value);
}

void* appendDefault(SequenceEngine& engine) {
    if (ArrayCore* array = engine.arrayCore())
        return array->appendDefault();
    return core(engine).appendDefault();
}

void* prependCopy(SequenceEngine& engine, const void* value) {
    if (ArrayCore* array = engine.arrayCore())
        return array->prependCopy(value);
    return core(engine).prependCopy(value);
}

void* prependMoved(SequenceEngine& engine, void* value) {
    if (ArrayCore* array = engine.arrayCore())
        return array->prependMoved(value);
    return core(engine).prependMoved(value);
}

void appendAllOf(SequenceEngine& engine, SequenceEngine& other) {
    if (ArrayCore* array = engine.arrayCore())
        array->appendAllOf(other);
    else
        core(engine).appendAllOf(other);
}

void prependAllOf(SequenceEngine& engine, SequenceEngine& other) {
    if (ArrayCore* array = engine.arrayCore())
        array->prependAllOf(other);
    else
        core(engine).prependAllOf(other);
}

void clear(SequenceEngine& engine) {
    if (ArrayCore* array = engine.arrayCore())
        array->clear();
    else
        core(engine).clear();
}

void takeFirst(SequenceEngine& engine, void* into) {
    if (ArrayCore* array = engine.arrayCore())
        array->takeFirst(into);
    else
        core(engine).takeFirst(into);
}

void takeLast(SequenceEngine& engine, void* into) {
    if (ArrayCore* array = engine.arrayCore())
        array->takeLast(into);
    else
        core(engine).takeLast(into);
}

void takeCurrent(SequenceEngine& engine, Iterator& it, void* into) {
    if (ArrayCore* array = engine.arrayCore())
        array->takeCurrent(it, into);
    else
        core(engine).takeCurrent(it, into);
}

int removeFromFront(SequenceEngine& engine, int n) {
    if (ArrayCore* array = engine.arrayCore())
        return array->removeFromFront(n);
    return core(engine).removeFromFront(n);
}

int removeFromBack(SequenceEngine& engine, int n) {
    if (ArrayCore* array = engine.arrayCore())
        return array->removeFromBack(n);
    return core(engine).removeFromBack(n);
}

void rotate(SequenceEngine& engine, int n) {
    if (ArrayCore* array = engine.arrayCore())
        array->rotate(n);
    else
        core(engine).rotate(n);
}

void rotateBack(SequenceEngine& engine, int n) {
    if (ArrayCore* array = engine.arrayCore())
        array->rotateBack(n);
    else
        core(engine).rotateBack(n);
}

} // namespace sequence_engine
