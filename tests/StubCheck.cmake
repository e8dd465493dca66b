# Fails when varnoke.exe would not start on every PC it promises to:
#  - an instruction past the i486 (a 486, Pentium, K6 or Cyrix stops on it);
#  - an imported DLL or function missing from the reviewed list of what
#    Windows 95 as shipped exports (Win95Imports.txt): only system-directory
#    DLLs, so none can be planted beside the installer, and nothing newer.
# Usage: cmake -DOBJDUMP=... -DEXE=... -DIMPORTS=Win95Imports.txt -P StubCheck.cmake
foreach(variable OBJDUMP EXE IMPORTS)
    if(NOT ${variable})
        message(FATAL_ERROR "StubCheck.cmake needs -D${variable}=...")
    endif()
endforeach()
get_filename_component(name "${EXE}" NAME)
set(problems "")

# Imports, read from the PE import table.
file(STRINGS "${IMPORTS}" reviewed REGEX "^[^#]")
string(TOLOWER "${reviewed}" reviewed_lower)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump -p failed on ${EXE}")
endif()
string(REPLACE ";" "," dump "${dump}")
string(REPLACE "\n" ";" lines "${dump}")
set(dll "")
set(imports 0)
foreach(line IN LISTS lines)
    if(line MATCHES "DLL Name: ([^ \t\r]+)")
        string(TOLOWER "${CMAKE_MATCH_1}" dll)
    elseif(line MATCHES "^[ \t]*$")
        set(dll "")
    elseif(dll AND line MATCHES "^\t[0-9a-f]+\t +[0-9]+ +([A-Za-z_][A-Za-z0-9_@]*)")
        math(EXPR imports "${imports} + 1")
        string(TOLOWER "${dll} ${CMAKE_MATCH_1}" entry)
        list(FIND reviewed_lower "${entry}" index)
        if(index EQUAL -1)
            list(APPEND problems "imports ${dll} ${CMAKE_MATCH_1}, not in the reviewed list")
        endif()
    elseif(dll AND line MATCHES "^\t[0-9a-f]+\t")
        list(APPEND problems "imports from ${dll} by ordinal: ${line}")
    endif()
endforeach()
if(imports EQUAL 0)
    list(APPEND problems "no import table found")
endif()

# Instructions: what the i486 lacks, and MMX and SSE registers. Not tzcnt: it
# is encoded as "rep bsf", which older processors run as bsf, and the compiler
# and libgcc use it only where the input is not zero and both agree.
execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${EXE} OUTPUT_VARIABLE code
    RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump -d failed on ${EXE}")
endif()
set(newer "cmov[a-z]*|fcmov[a-z]*|fu?comip?|cmpxchg8b|cmpxchg16b|rdtscp?|cpuid|rdpmc|sysenter|syscall|emms|femms|fxsave|fxrstor|ldmxcsr|stmxcsr|[slm]fence|prefetch[a-z0-9]*|movnti|fisttpl?l?|popcnt|lzcnt|movbe|crc32[a-z]*")
string(REGEX MATCHALL "\n *[0-9a-f]+:\t(${newer})[ \t\n][^\n]*" found "${code}")
string(REGEX MATCHALL "\n *[0-9a-f]+:\t[^\n]*%[xy]?mm[0-9][^\n]*" registers "${code}")
list(APPEND found ${registers})
list(LENGTH found count)
if(count GREATER 0)
    list(SUBLIST found 0 10 shown)
    string(REPLACE "\n" "" shown "${shown}")
    string(REPLACE ";" "\n    " shown "${shown}")
    list(APPEND problems "${count} instructions past the i486, among them:\n    ${shown}")
endif()

if(problems)
    string(REPLACE ";" "\n  " problems "${problems}")
    message(FATAL_ERROR "${name} would not run on every PC:\n  ${problems}")
endif()
message(STATUS "${name}: ${imports} imports, all reviewed; no instruction past the i486")
