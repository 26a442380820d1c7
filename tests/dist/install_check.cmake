# SPDX-License-Identifier: MIT
# Installs the build tree into a fresh folder and checks that everything a desktop
# needs is in its place and not empty.
#   cmake -DBUILD_DIR=... -DPREFIX=... -P install_check.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(id io.github.taxcalc.Taxcalc)
set(expected
    bin/taxcalc
    bin/taxcalc-batch
    bin/taxcalc-payroll
    share/applications/${id}.desktop
    share/applications/${id}Payroll.desktop
    share/metainfo/${id}.metainfo.xml
    share/icons/hicolor/scalable/apps/${id}.svg
    share/man/man1/taxcalc.1
    share/man/man1/taxcalc-batch.1
    share/man/man1/taxcalc-payroll.1)
foreach(size 16 24 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${id}.png)
endforeach()

foreach(path IN LISTS expected)
    file(SIZE ${PREFIX}/${path} size)
    if(NOT EXISTS ${PREFIX}/${path} OR size EQUAL 0)
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()
# The manual pages come from --help: the option list is there.
file(READ ${PREFIX}/share/man/man1/taxcalc.1 page)
if(NOT page MATCHES "version")
    message(FATAL_ERROR "taxcalc.1 does not describe the options")
endif()
file(REMOVE_RECURSE ${PREFIX})
