# Warnings are errors on both toolchains.
set(VARNOKE_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Woverloaded-virtual -Wformat=2 -Wimplicit-fallthrough -Werror)

# Portable and installer code: no exceptions, no RTTI, as the installer is built.
function(varnoke_strict target)
    target_compile_options(${target} PRIVATE ${VARNOKE_WARNINGS} -fno-exceptions -fno-rtti)
endfunction()

# Test and tool code: warnings as errors, but exceptions and RTTI as the libraries expect.
function(varnoke_warnings target)
    target_compile_options(${target} PRIVATE ${VARNOKE_WARNINGS})
endfunction()
