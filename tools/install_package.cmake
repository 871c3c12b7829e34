# The install package, made with `cmake --install <build> --prefix <folder>`:
# what a host's developer receives.
#   bin/      tallowsolo.dll, tallowhub.dll, tallowadmin.exe, tallowhost.exe
#   lib/      the libraries' .def files (their exports, for import libraries)
#   include/  host_records.h and the headers it includes
#   README.md the integrator's notes
# The samples (project server, logging libraries) and the test doubles are
# never part of it.
install(PROGRAMS $<TARGET_FILE:tallowsolo> $<TARGET_FILE:tallowhub> $<TARGET_FILE:tallowadmin>
                 $<TARGET_FILE:tallowhost>
        DESTINATION bin)
install(FILES ${PROJECT_SOURCE_DIR}/solo/tallowsolo.def ${PROJECT_SOURCE_DIR}/hub/tallowhub.def DESTINATION lib)
install(FILES ${PROJECT_SOURCE_DIR}/common/host_records.h ${PROJECT_SOURCE_DIR}/common/ansi_text.h
              ${PROJECT_SOURCE_DIR}/common/com_error.h ${PROJECT_SOURCE_DIR}/common/com_ptr.h
        DESTINATION include)
install(FILES ${PROJECT_SOURCE_DIR}/tools/INTEGRATING.md DESTINATION . RENAME README.md)
