# SPDX-License-Identifier: GPL-3.0-or-later
# What the Debian package adds to the programs, the desktop file and the icons: man pages,
# bash completion and AppStream metainfo; and the CPack settings that build the package.

# Man pages: scdoc sources built into roff, compressed as Debian keeps them. Without scdoc
# the build goes on without them.
find_program(QV_SCDOC scdoc)
if(QV_SCDOC)
  set(QV_MAN_PAGES)
  foreach(page quarnival.1 quarnival-cli.1)
    set(source ${CMAKE_CURRENT_LIST_DIR}/man/${page}.scd)
    set(roff ${CMAKE_BINARY_DIR}/man/${page})
    set(output ${roff}.gz)
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND sh -c "\"$1\" < \"$2\" > \"$3\"" scdoc ${QV_SCDOC} ${source} ${roff}
      COMMAND gzip -9nf ${roff}
      DEPENDS ${source}
      COMMENT "Building man page ${page}"
      VERBATIM)
    list(APPEND QV_MAN_PAGES ${output})
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${QV_MAN_PAGES})
  install(FILES ${QV_MAN_PAGES} DESTINATION share/man/man1)
else()
  message(WARNING "scdoc not found: the man pages are not built (apt-get install scdoc)")
endif()

install(FILES ${CMAKE_CURRENT_LIST_DIR}/completion/quarnival-cli DESTINATION share/bash-completion/completions)

# The licence and the history where Debian keeps them: a machine-readable copyright file and
# the changelog, compressed as a native package's.
set(QV_CHANGELOG ${CMAKE_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${QV_CHANGELOG}
  COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" gzip ${CMAKE_CURRENT_LIST_DIR}/changelog ${QV_CHANGELOG}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog
  VERBATIM)
add_custom_target(changelog ALL DEPENDS ${QV_CHANGELOG})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${QV_CHANGELOG} DESTINATION share/doc/quarnival)
if(QV_GUI)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/metainfo/io.github.quarnival.Quarnival.metainfo.xml
          DESTINATION share/metainfo)
endif()

# cpack -G DEB in the build folder makes quarnival_VERSION_ARCH.deb. Its dependencies are
# those of the binaries (dpkg-shlibdeps); Qt's X11 platform plugin comes with libqt6gui6.
set(CPACK_PACKAGE_NAME quarnival)
set(CPACK_PACKAGE_VENDOR "Quarnival")
set(CPACK_PACKAGE_CONTACT "Quarnival <dev@quarnival.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hex editor for binary files, Intel HEX and C arrays")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Quarnival shows the bytes of a file as rows of addresses, hexadecimal values"
    "and characters, and edits them: overwrite and insert, undo, copy and paste in"
    "several text forms, and search for values, byte patterns and groups of values."
    "It reads and writes binary files, Intel HEX and C arrays, edits large files in"
    "place through a memory map, decodes headers with structure modules, and"
    "computes checksums and CRCs. The user interface is German."
    "."
    "quarnival-cli runs the same engines from a shell.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QV_GUI)
  # Qt's own dialogs (files, fonts, printing) in German, and a native window on Wayland
  # (without it Qt falls back to X11).
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, qt6-wayland")
endif()
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
include(CPack)
