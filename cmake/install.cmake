# Where Debian puts things: the program and the simulator in bin, the
# pictures in share/veldaro (the program looks there beside its bin), the
# menu entry, icons and AppStream data in their shared folders.
include(GNUInstallDirs)

install(TARGETS veldaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# "batch_simulator" is too plain a name for /usr/bin.
install(PROGRAMS $<TARGET_FILE:batch_simulator> DESTINATION ${CMAKE_INSTALL_BINDIR}
        RENAME veldaro-batch-simulator)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/image DESTINATION ${CMAKE_INSTALL_DATADIR}/veldaro)
install(FILES ${PROJECT_SOURCE_DIR}/resources/결재.bmp DESTINATION ${CMAKE_INSTALL_DATADIR}/veldaro)

install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/kr.vorn.veldaro.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/kr.vorn.veldaro.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/veldaro-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME veldaro.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/veldaro.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/guide DESTINATION ${CMAKE_INSTALL_DOCDIR})

# A .deb by CPack (scripts/package.sh).  The libraries the programs link are
# found by dpkg-shlibdeps; the plugins Qt loads at run time are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veldaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "VELDARO <support@veldaro.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "shipping office of a ready-mixed concrete plant (레미콘출하)")
set(CPACK_PACKAGE_DESCRIPTION "The dispatcher's program of a ready-mixed concrete plant: the day's
delivery orders, the link to two batch-plant controllers over serial lines,
shipments recorded and delivery tickets printed, order entry, master data,
shipment editor, auto ticket book and status lists, on an embedded SQLite
database or the plant's PostgreSQL server.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6sql6-psql, fonts-nanum")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups-client")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "socat, postgresql-client")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
