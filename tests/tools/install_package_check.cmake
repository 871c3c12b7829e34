# Installs the build into a fresh folder and checks that the package holds
# exactly the files an integrator receives.
# Usage: cmake -DBUILD=<build folder> -DPREFIX=<empty folder> -P install_package_check.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
set(expected README.md
    bin/tallowadmin.exe bin/tallowhost.exe bin/tallowhub.dll bin/tallowsolo.dll
    include/ansi_text.h include/com_error.h include/com_ptr.h include/host_records.h
    lib/tallowhub.def lib/tallowsolo.def)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "the package holds\n  ${installed}\nnot\n  ${expected}")
endif()
file(READ ${PREFIX}/README.md readme)
if(NOT readme MATCHES "^# tallow asset libraries: notes for integrators")
    message(FATAL_ERROR "README.md is not the integrator's notes")
endif()
