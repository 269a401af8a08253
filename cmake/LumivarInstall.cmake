set(lumivar_targets lumivar_platform brontal_rt ostrine_rt lumivar_rt)
if(LUMIVAR_BUILD_QT)
  list(APPEND lumivar_targets lumivar_qt)
endif()
install(TARGETS ${lumivar_targets} EXPORT lumivarTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/lumivar)
# Public headers only: each umbrella header reaches every installed header
# of its module (checked by tests/install).
lumivar_install_headers(platform INTERNAL bmplayout.h littleendian.h raster.h)
lumivar_install_headers(support/brontal)
lumivar_install_headers(support/ostrine)
lumivar_install_headers(geobasics INTERNAL cartesian_kernel.h ellipsoid_constants.h sincos.h)
lumivar_install_headers(geodb INTERNAL records.h)
lumivar_install_headers(geomap INTERNAL degrees.h fits.h solver.h)
lumivar_install_headers(geoatlas)
if(LUMIVAR_BUILD_QT)
  lumivar_install_headers(qt)
endif()

include(CMakePackageConfigHelpers)
set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/lumivar)
install(EXPORT lumivarTargets NAMESPACE lumivar:: DESTINATION ${config_dir})
# The package asks for Qt 6 only where the Qt host was built.
set(LUMIVAR_PACKAGE_HAS_QT ${LUMIVAR_BUILD_QT})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/lumivarConfig.cmake.in
  ${PROJECT_BINARY_DIR}/lumivarConfig.cmake INSTALL_DESTINATION ${config_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/lumivarConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/lumivarConfig.cmake ${PROJECT_BINARY_DIR}/lumivarConfigVersion.cmake
  DESTINATION ${config_dir})

# The .pc file finds its prefix from its own place, so an install moved or
# made with --prefix still points at the right folders.
file(RELATIVE_PATH PC_RELATIVE_PREFIX "/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/")
string(REGEX REPLACE "/$" "" PC_RELATIVE_PREFIX "${PC_RELATIVE_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/lumivar.pc.in ${PROJECT_BINARY_DIR}/lumivar.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/lumivar.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
