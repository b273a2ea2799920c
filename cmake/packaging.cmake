# The Debian package (scripts/package.sh runs cpack in a Release build folder). It holds what
# `cmake --install` installs (the program and its data files in NORDA_INSTALL_DIR, the desktop
# entry, icons, plan file type and AppStream metadata under /usr/share) and, for the package only,
# the /usr/bin link, the manual page, the copyright file, the changelog and lintian's overrides.

# Who makes NORDA: the package's maintainer, the AppStream identity and the home page.
set(NORDA_MAINTAINER "NORDA Maintainers <maintainers@norda.example.org>")
set(NORDA_HOMEPAGE "https://norda.example.org")
set(NORDA_APPSTREAM_ID "org.example.norda")

# The changelog's newest entry names the version and the release date; it must be this version.
set(norda_changelog ${CMAKE_CURRENT_LIST_DIR}/debian/changelog)
file(STRINGS ${norda_changelog} changelog_lines)
list(GET changelog_lines 0 changelog_head)
if(NOT changelog_head MATCHES "^norda \\(([^)]+)\\)" OR NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "${norda_changelog} starts with \"${changelog_head}\": add an entry for ${PROJECT_VERSION}")
endif()
foreach(line IN LISTS changelog_lines)
    if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
        set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
        list(FIND months ${CMAKE_MATCH_2} month)
        math(EXPR month "${month} + 1" OUTPUT_FORMAT DECIMAL)
        if(month LESS 10)
            set(month "0${month}")
        endif()
        set(NORDA_RELEASE_DATE "${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1}")
        break()
    endif()
endforeach()
if(NOT NORDA_RELEASE_DATE)
    message(FATAL_ERROR "${norda_changelog}: the newest entry has no trailer line with its date")
endif()

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE NORDA_DEB_ARCH
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT NORDA_DEB_ARCH)
    set(NORDA_DEB_ARCH amd64)
endif()
set(NORDA_PACKAGE_FILE ${CMAKE_BINARY_DIR}/norda_${PROJECT_VERSION}_${NORDA_DEB_ARCH}.deb)

# Files only the package installs, staged under /usr as they are installed. Debian wants the
# changelog and the manual page compressed without a time stamp (gzip -n).
set(deb_root ${CMAKE_BINARY_DIR}/deb-root)
set(deb_doc ${deb_root}/share/doc/norda)
file(MAKE_DIRECTORY ${deb_root}/bin ${deb_doc} ${deb_root}/share/man/man1 ${deb_root}/share/lintian/overrides)
file(CREATE_LINK ${NORDA_INSTALL_DIR}/NORDA ${deb_root}/bin/norda SYMBOLIC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${deb_doc}/copyright COPYONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides ${deb_root}/share/lintian/overrides/norda COPYONLY)
find_program(NORDA_GZIP gzip REQUIRED)
foreach(pair "changelog;${deb_doc}/changelog.gz" "norda.1;${deb_root}/share/man/man1/norda.1.gz")
    list(GET pair 0 source)
    list(GET pair 1 target)
    add_custom_command(OUTPUT ${target}
        COMMAND ${NORDA_GZIP} -9nc ${CMAKE_CURRENT_LIST_DIR}/debian/${source} > ${target}
        DEPENDS ${CMAKE_CURRENT_LIST_DIR}/debian/${source})
    list(APPEND deb_generated ${target})
endforeach()
# Everything the package holds; scripts/package.sh builds only this (and the package's test).
add_custom_target(norda_package_contents DEPENDS ${deb_generated})
add_dependencies(norda_package_contents NORDA norda_translations norda_manuals norda_appicons)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME norda)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${NORDA_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALLED_DIRECTORIES "${deb_root};usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_NORDA_PROGRAM ${NORDA_INSTALL_DIR}/NORDA)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/strip.cmake)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "disk capacity planner for video-surveillance recording")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
NORDA plans the disk capacity of a video-surveillance installation. List the
cameras (recorder channels or IP cameras, with picture quality, resolution,
frame rate and bitrate) and NORDA tells how long a disk lasts, or how much
disk a wanted record time needs, for the recording hours per day and PAL or
NTSC.

Cameras are added by hand with a recommended bitrate, read out from devices
on the network, or imported from a video-management client's database. Plans
are saved as files and reported as PDF or CSV.]])
set(CPACK_DEBIAN_FILE_NAME norda_${PROJECT_VERSION}_${NORDA_DEB_ARCH}.deb)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${NORDA_DEB_ARCH})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${NORDA_HOMEPAGE}")
# Libraries from the binaries (dpkg-shlibdeps); what NORDA runs or relies on besides: xdg-open
# opens the manuals and reports, Liberation Sans stands in for the skin's Arial; a PDF viewer shows
# them, and a CJK font the Chinese interface.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "mupdf | pdf-viewer, fonts-noto-cjk")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
