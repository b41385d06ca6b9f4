# cmake --install: the library with its headers, the generator, the program entry every
# simulator is built with, and the CMake package (find_package(Tavrin)).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TAVRIN_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tavrin)
set(TAVRIN_INSTALL_MAIN ${CMAKE_INSTALL_DATADIR}/tavrin/main.cpp)

install(TARGETS tavrin EXPORT TavrinTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS tavrin_gen EXPORT TavrinTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tavrin
        FILES_MATCHING PATTERN "*.h")
install(FILES ${PROJECT_SOURCE_DIR}/src/engine/main.cpp DESTINATION ${CMAKE_INSTALL_DATADIR}/tavrin)
install(EXPORT TavrinTargets NAMESPACE Tavrin:: DESTINATION ${TAVRIN_INSTALL_CMAKEDIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TavrinConfig.cmake.in
                              ${CMAKE_CURRENT_BINARY_DIR}/TavrinConfig.cmake
                              INSTALL_DESTINATION ${TAVRIN_INSTALL_CMAKEDIR}
                              PATH_VARS TAVRIN_INSTALL_MAIN)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/TavrinConfigVersion.cmake
                                 VERSION 2.5 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/TavrinConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/TavrinConfigVersion.cmake
              ${PROJECT_SOURCE_DIR}/cmake/TavrinAddModel.cmake
        DESTINATION ${TAVRIN_INSTALL_CMAKEDIR})
