# Installs the engine as a library for games outside this repository: the static library, its
# headers under include/orvane/, the shaders and the font picture under share/orvane/, and a
# package configuration so that find_package(Orvane) gives the target Orvane::orvane.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ORVANE_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Orvane)
set(ORVANE_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/orvane)

install(TARGETS orvane EXPORT OrvaneTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
foreach(folder ${ORVANE_FOLDERS})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/${folder}/
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orvane/${folder}
        FILES_MATCHING PATTERN "*.h")
endforeach()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/shaders/ DESTINATION ${ORVANE_INSTALL_DATADIR}/shaders)
install(FILES ${PROJECT_SOURCE_DIR}/Data/Font/font.tga
    DESTINATION ${ORVANE_INSTALL_DATADIR}/Data/Font)

install(EXPORT OrvaneTargets NAMESPACE Orvane:: DESTINATION ${ORVANE_INSTALL_CMAKEDIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/OrvaneConfig.cmake.in
    ${PROJECT_BINARY_DIR}/OrvaneConfig.cmake
    INSTALL_DESTINATION ${ORVANE_INSTALL_CMAKEDIR}
    PATH_VARS ORVANE_INSTALL_DATADIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/OrvaneConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/OrvaneConfig.cmake ${PROJECT_BINARY_DIR}/OrvaneConfigVersion.cmake
    DESTINATION ${ORVANE_INSTALL_CMAKEDIR})
