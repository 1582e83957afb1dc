# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the built-in collection into the program directory only where none is yet.
if(NOT EXISTS "${DESTINATION}")
    file(COPY_FILE "${SOURCE}" "${DESTINATION}")
endif()
