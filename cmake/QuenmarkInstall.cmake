include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS quenmark_core
  EXPORT QuenmarkStoriesTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/quenmark"
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  PATTERN "testing" EXCLUDE)

set(QUENMARK_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/QuenmarkStories")
install(EXPORT QuenmarkStoriesTargets
  NAMESPACE Quenmark::
  DESTINATION "${QUENMARK_CMAKE_DIR}")
configure_package_config_file(
  "${PROJECT_SOURCE_DIR}/cmake/QuenmarkStoriesConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/QuenmarkStoriesConfig.cmake"
  INSTALL_DESTINATION "${QUENMARK_CMAKE_DIR}"
  PATH_VARS QUENMARK_QML_INSTALL_DIR)
write_basic_package_version_file(
  "${PROJECT_BINARY_DIR}/QuenmarkStoriesConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES
  "${PROJECT_BINARY_DIR}/QuenmarkStoriesConfig.cmake"
  "${PROJECT_BINARY_DIR}/QuenmarkStoriesConfigVersion.cmake"
  DESTINATION "${QUENMARK_CMAKE_DIR}")
