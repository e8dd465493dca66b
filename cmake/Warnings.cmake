# Warnings are errors on both toolchains.
set(VARNOKE_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough -Werror)

# How the installer's code is built for Windows. varnoke.exe runs on the i486:
# no CMOV, FCOMI or anything later.
# Arguments are pushed, not stored into room reserved on entry: some 10 KB
# less code. Pushing rules the stack probe out; none is needed while no
# frame passes 4000 bytes, and so none can step over the guard page.
# The stack is kept 4-byte aligned only, as Windows itself keeps it: no
# padding around every call (another 10 KB); no code here needs more.
# No frame pointer: the toolchain keeps one by default, a push, a move
# and a pop in most functions (650 bytes).
# Tables and texts aligned as the ABI asks, not to 32 bytes for the
# vector unit the i486 lacks: 780 bytes of padding less.
# Inlining kept to what -Os's own size model picks: a function called
# once stays a call (its caller's frame then stays small enough for
# short displacements), nothing is inlined in part nor where it would
# swell the caller's frame; and no tail merging, which here only grew the
# code. varnoke.exe is optimised as one program at link time, where early
# inlining and splitting aggregate parameters make it smaller (450 bytes);
# compiled one object at a time, both grew it.
# Values live across a call stay on the stack rather than being saved and
# restored around it (160 bytes).
# Constructors not folded into one "unified" body: on PE that body is
# kept once for every object that emits it (RegistryKey's seven
# times); 600 bytes less.
set(VARNOKE_STUB_CODE -Os -fomit-frame-pointer -ffunction-sections
    -fno-threadsafe-statics -fno-asynchronous-unwind-tables -fno-unwind-tables
    -march=i486 -mtune=generic -mno-accumulate-outgoing-args -mno-stack-arg-probe
    -Wframe-larger-than=4000 -mpreferred-stack-boundary=2 -malign-data=abi
    -fno-inline-functions-called-once -fno-partial-inlining
    -fno-tree-tail-merge -fconserve-stack -fno-caller-saves
    -fno-declone-ctor-dtor)

# Portable and installer code: no exceptions, no RTTI, as the installer is built.
# For Windows also built for size, single-threaded: guarded statics would drag
# the threads library and the verbose terminate handler into varnoke.exe.
function(varnoke_strict target)
    target_compile_options(${target} PRIVATE ${VARNOKE_WARNINGS} -fno-exceptions -fno-rtti)
    if(WIN32)
        target_compile_options(${target} PRIVATE ${VARNOKE_STUB_CODE})
    endif()
endfunction()

# Test and tool code: warnings as errors, but exceptions and RTTI as the libraries expect.
function(varnoke_warnings target)
    target_compile_options(${target} PRIVATE ${VARNOKE_WARNINGS})
endfunction()

# varnoke.exe's own copy of a stub library, built as varnoke_strict builds it
# and with the first three arguments of every call of the program's own in
# registers, not on the stack: 2 KB less code. The copy is linked into
# varnoke.exe alone: the Win32 test programs link the library itself, since
# GoogleTest and the toolchain's libraries pass everything on the stack.
# Win32 functions and the callbacks Windows calls (__stdcall, as WINAPI and
# CALLBACK say) keep the stack; helpers that GCC calls by itself (64-bit
# division, memcpy, memset) follow -mregparm, and the stub's runtime defines
# them in its copy, built the same way.
set(VARNOKE_STUB_CALLS -mregparm=3 -U__stdcall -U_stdcall
    "-D__stdcall=__attribute__((__stdcall__,__regparm__(0)))"
    "-D_stdcall=__attribute__((__stdcall__,__regparm__(0)))")

# The copies carry line information (-g1), which goes into
# varnoke.symbols.exe for scripts/size-table.py and is stripped from
# varnoke.exe; the code is the same with or without it.
function(varnoke_stub_copy target)
    get_target_property(sources ${target} SOURCES)
    add_library(${target}_stub STATIC EXCLUDE_FROM_ALL ${sources})
    target_include_directories(${target}_stub PRIVATE ${PROJECT_SOURCE_DIR})
    varnoke_strict(${target}_stub)
    target_compile_options(${target}_stub PRIVATE ${VARNOKE_STUB_CALLS} -flto -g1)
    # Loop invariants are computed where they are used, not hoisted into
    # registers before the loop (170 bytes), but for the decoder's loops.
    if(NOT target STREQUAL varnoke_format)
        target_compile_options(${target}_stub PRIVATE -fno-tree-loop-im)
    endif()
endfunction()

# The stub's runtime: plain objects, not compiled for the link-time step, since
# it defines what the code generated at link time calls (memcpy, memset, the
# 64-bit division); and not an archive, which the linker would have to scan
# again for those calls after that step (ld 2.40 crashes doing so on PE).
function(varnoke_stub_runtime target)
    get_target_property(sources ${target} SOURCES)
    add_library(${target}_stub OBJECT EXCLUDE_FROM_ALL ${sources})
    target_include_directories(${target}_stub PRIVATE ${PROJECT_SOURCE_DIR})
    varnoke_strict(${target}_stub)
    target_compile_options(${target}_stub PRIVATE ${VARNOKE_STUB_CALLS} -g1)
endfunction()
