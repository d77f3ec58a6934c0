# What both Debian packages are alike in: made by CPack's DEB generator under Debian's own file
# name, programs stripped, folders with the install tree's modes and files with strict ones,
# the libraries found by dpkg-shlibdeps, one maintainer.
macro(pirune_debian_package name section)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME "${name}")
  set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
  set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(CPACK_STRIP_FILES ON)
  set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
  # Debian's name for the package, spelled out so that its checks are given it.
  execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE architecture
    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(CPACK_DEBIAN_FILE_NAME "${name}_${PROJECT_VERSION}_${architecture}.deb")
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PIRUNE_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION "${section}")
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endmacro()

# The manual pages and the changelog (each made from its .in here), compressed as Debian keeps
# them: gzip -9, no name or time inside, so that the same sources give the same package.
function(pirune_compressed_docs target)
  find_program(PIRUNE_GZIP gzip REQUIRED)
  set(compressed)
  foreach(page IN LISTS ARGN)
    configure_file("${page}.in" "${page}" @ONLY)
    add_custom_command(OUTPUT "${page}.gz"
      COMMAND "${PIRUNE_GZIP}" -9n --force --keep "${page}"
      DEPENDS "${CMAKE_CURRENT_BINARY_DIR}/${page}"
      WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
      COMMENT "Compressing ${page}"
      VERBATIM)
    list(APPEND compressed "${CMAKE_CURRENT_BINARY_DIR}/${page}.gz")
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${compressed})
endfunction()
