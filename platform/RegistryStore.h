#pragma once
// A store of named values in a tree of nodes addressed by backslash paths;
// the registry is the one the installer has.

#include "core/String.h"
#include "core/Variant.h"

class HierarchicalStore {
public:
    virtual ~HierarchicalStore() = default;

    // Reads the value into `value`, or writes it when writing() is set.
    virtual bool transferValue(const String& name, Variant& value) = 0;
    // Opens the child node `component` below the current node.
    virtual bool enter(const String& component) = 0;
    // Enters each component that a separator ends, in turn; the text after
    // the last separator is a value name and is not entered. A path that
    // starts with the separator starts at the root; an empty one only goes
    // there. False at the first component that cannot be entered.
    virtual bool enterPath(const char* path);
    virtual bool toRoot() { return false; }

    bool writing() const { return writing_; }
    void setWriting(bool on) { writing_ = on; }
    char separator() const { return separator_; }

private:
    char separator_ = '\\';
    bool writing_ = false;
};
