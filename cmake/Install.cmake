# Installs like a desktop program: everything the program looks for beside itself in one
# program folder, links to the two programs in bin/, the settings file in etc/, and the
# menu entry, icons, AppStream data, manual pages and shell completion in share/.
include(GNUInstallDirs)
set(CPS_INSTALL_PROGRAM_DIR "lib/cps" CACHE STRING "Program folder, relative to the prefix")
set(CPS_DESKTOP_NAME "cps-program" CACHE STRING
    "Name of the desktop program's link in bin/, its menu entry, icon and window class")
set(CPS_APPSTREAM_ID "org.example.cps.program" CACHE STRING "AppStream component id")
set(CPS_VENDOR "The radio programming tool developers" CACHE STRING "Who makes it")
set(CPS_MAINTAINER "Radio Programming Tool Developers <cps-devel@example.org>"
    CACHE STRING "Maintainer of the Debian package: a name and an address that answers")
set(CPS_HOMEPAGE "https://cps.example.org" CACHE STRING "The project's web site")
set(CPS_INSTALL_DIR ${CMAKE_CURRENT_BINARY_DIR}/install-files)

install(TARGETS cps RUNTIME DESTINATION ${CPS_INSTALL_PROGRAM_DIR})
if(TARGET radiosim)
    install(TARGETS radiosim RUNTIME DESTINATION ${CPS_INSTALL_PROGRAM_DIR})
endif()

# A relative link, so the tree works under DESTDIR and inside the package. The programs find
# their folder through the link (Qt resolves the executable's real path).
function(cps_install_link target link)
    file(RELATIVE_PATH rel /${CMAKE_INSTALL_BINDIR} /${CPS_INSTALL_PROGRAM_DIR}/${target})
    install(CODE "
        set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(MAKE_DIRECTORY \"\${dir}\")
        message(STATUS \"Installing: \${dir}/${link} -> ${rel}\")
        file(CREATE_LINK \"${rel}\" \"\${dir}/${link}\" SYMBOLIC)
    ")
endfunction()
cps_install_link(cps cps)

# Program.ini is system configuration: it lives in etc/cps (/etc/cps under /usr, a conffile
# of the package) and the program folder links to it, so that saving settings as root
# changes that file and never one the package manager checks. The prefix is known only at
# install time (--prefix, the package's /usr).
install(CODE "
    set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
    if(prefix STREQUAL \"/usr\")
        set(etc /etc)
    elseif(prefix MATCHES \"^/opt/\")
        set(etc \"/etc\${prefix}\")
    else()
        set(etc \"\${prefix}/etc\")
    endif()
    # file(INSTALL) puts DESTDIR in front itself.
    file(INSTALL \"${PROJECT_SOURCE_DIR}/resources/Program.ini\" DESTINATION \"\${etc}/cps\")
    set(dir \"\$ENV{DESTDIR}\${prefix}/${CPS_INSTALL_PROGRAM_DIR}\")
    file(MAKE_DIRECTORY \"\${dir}\")
    # Under /usr (the package) the link crosses from /usr to /etc and is absolute, as Debian
    # wants it; elsewhere relative, so that a staged tree (DESTDIR) works where it is.
    if(prefix STREQUAL \"/usr\")
        set(rel \"/etc/cps/Program.ini\")
    else()
        file(RELATIVE_PATH rel \"\${prefix}/${CPS_INSTALL_PROGRAM_DIR}\" \"\${etc}/cps/Program.ini\")
    endif()
    message(STATUS \"Installing: \${dir}/Program.ini -> \${rel}\")
    file(CREATE_LINK \"\${rel}\" \"\${dir}/Program.ini\" SYMBOLIC)
")

# Manual pages, compressed as Debian wants them: cps(1) from the program's own --help,
# cps-program(1) written by hand.
find_program(CPS_HELP2MAN help2man)
find_program(CPS_GZIP gzip)
set(CPS_MAN_DIR ${CPS_INSTALL_DIR}/man)
configure_file(${PROJECT_SOURCE_DIR}/resources/man/cps-program.1 ${CPS_MAN_DIR}/cps-program.1 @ONLY)
set(cps_man_pages ${CPS_MAN_DIR}/cps-program.1.gz)
add_custom_command(OUTPUT ${CPS_MAN_DIR}/cps-program.1.gz
    COMMAND ${CPS_GZIP} -9nkf ${CPS_MAN_DIR}/cps-program.1
    DEPENDS ${CPS_MAN_DIR}/cps-program.1
    VERBATIM)
if(CPS_HELP2MAN)
    add_custom_command(OUTPUT ${CPS_MAN_DIR}/cps.1.gz
        # A sanitizer build's cps must not fail the page over a leak report at exit.
        COMMAND ${CMAKE_COMMAND} -E env CPS_USER_STORE=${CPS_MAN_DIR}/none.ini
                ASAN_OPTIONS=detect_leaks=0
                ${CPS_HELP2MAN} --no-info --no-discard-stderr --version-option=--version
                -n "command-line programming tool for a hand-held FM two-way radio"
                --include=${PROJECT_SOURCE_DIR}/resources/man/cps.h2m
                -o ${CPS_MAN_DIR}/cps.1 $<TARGET_FILE:cps>
        COMMAND ${CPS_GZIP} -9nf ${CPS_MAN_DIR}/cps.1
        DEPENDS cps ${PROJECT_SOURCE_DIR}/resources/man/cps.h2m
        COMMENT "Manual page cps.1"
        VERBATIM)
    list(APPEND cps_man_pages ${CPS_MAN_DIR}/cps.1.gz)
else()
    message(WARNING "help2man not found: cps(1) is not made (scripts/deps.sh installs it)")
endif()
add_custom_target(cps_man ALL DEPENDS ${cps_man_pages})
install(FILES ${cps_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# What a Debian package carries in its doc folder; the changelog compressed, as for man.
set(CPACK_PACKAGE_CONTACT ${CPS_MAINTAINER})
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/copyright ${CPS_INSTALL_DIR}/copyright @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog ${CPS_INSTALL_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${CPS_INSTALL_DIR}/changelog.gz
    COMMAND ${CPS_GZIP} -9nkf ${CPS_INSTALL_DIR}/changelog
    DEPENDS ${CPS_INSTALL_DIR}/changelog
    VERBATIM)
add_custom_target(cps_changelog ALL DEPENDS ${CPS_INSTALL_DIR}/changelog.gz)
install(FILES ${CPS_INSTALL_DIR}/copyright ${CPS_INSTALL_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/cps)

install(FILES ${PROJECT_SOURCE_DIR}/resources/completion/cps
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

if(CPS_BUILD_GUI)
    install(TARGETS Program RUNTIME DESTINATION ${CPS_INSTALL_PROGRAM_DIR})
    install(FILES ${CPS_BIN_DIR}/English.qm ${CPS_BIN_DIR}/Chinese.qm
                  ${CPS_BIN_DIR}/enHelp.rcc ${CPS_BIN_DIR}/chHelp.rcc
            DESTINATION ${CPS_INSTALL_PROGRAM_DIR})
    cps_install_link(Program ${CPS_DESKTOP_NAME})
    configure_file(${PROJECT_SOURCE_DIR}/resources/desktop/cps-program.desktop.in
                   ${CPS_INSTALL_DIR}/${CPS_DESKTOP_NAME}.desktop @ONLY)
    install(FILES ${CPS_INSTALL_DIR}/${CPS_DESKTOP_NAME}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    configure_file(${PROJECT_SOURCE_DIR}/resources/desktop/cps-program.metainfo.xml.in
                   ${CPS_INSTALL_DIR}/${CPS_APPSTREAM_ID}.metainfo.xml @ONLY)
    install(FILES ${CPS_INSTALL_DIR}/${CPS_APPSTREAM_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    foreach(size 16 24 32 48 64 128 256)
        install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/cps-program-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME ${CPS_DESKTOP_NAME}.png)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/cps-program.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${CPS_DESKTOP_NAME}.svg)
endif()

# `cpack -G DEB` in the build folder makes a Debian package of the same tree under /usr.
set(CPACK_PACKAGE_NAME cps)
set(CPACK_PACKAGE_VENDOR ${CPS_VENDOR})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming tool for a hand-held FM two-way radio")
# Debian's extended description, under the summary: lines of at most 80 characters.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Reads, edits and writes the memory of a hand-held FM two-way radio over a
serial port: the desktop program (English and Chinese), the cps command-line
tool and the radiosim simulated radio.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CPS_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
file(WRITE ${CPS_INSTALL_DIR}/conffiles "/etc/cps/Program.ini\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CPS_INSTALL_DIR}/conffiles)
# The libraries' packages and versions come from the binaries themselves when
# dpkg-shlibdeps is there; otherwise they are named here.
find_program(CPS_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(CPS_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(cps_depends "")
else()
    set(cps_depends "libqt6core6, libqt6serialport6")
    if(CPS_BUILD_GUI)
        string(APPEND cps_depends ", libqt6gui6, libqt6widgets6, libqt6printsupport6")
    endif()
endif()
if(CPS_BUILD_GUI)
    # The platform plugins are a package of their own, loaded at run time: without them no
    # window opens, and no binary names them.
    list(APPEND cps_depends qt6-qpa-plugins)
    # Qt's own texts (file dialogs, standard buttons) in Chinese, loaded at run time.
    list(APPEND cps_depends qt6-translations-l10n)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei")
endif()
list(JOIN cps_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
include(CPack)
