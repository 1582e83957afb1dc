# SPDX-License-Identifier: GPL-3.0-or-later
# The hardening a distribution builds its programs with (Debian's dpkg-buildflags): stack protection,
# fortified string and memory functions, read-only relocations bound at start, position-independent
# executables. The sanitizer and fuzz builds keep their own instrumentation instead.

# The compiler's version notes (.comment) serve nobody in an installed program.
function(tolvar_drop_compiler_notes target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment $<TARGET_FILE:${target}>
        VERBATIM)
endfunction()

if(TOLVAR_SANITIZE OR TOLVAR_FUZZ)
    return()
endif()

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()

add_compile_options(-fstack-protector-strong -fstack-clash-protection -fcf-protection
                    # The fortified functions need the optimiser; a Debug build goes without them.
                    "$<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>")
add_link_options(-Wl,-z,relro -Wl,-z,now)
