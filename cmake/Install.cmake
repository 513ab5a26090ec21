# Installs like a desktop program: everything the program looks for beside itself in one
# program folder, links to the two programs in bin/, and the menu entry with its icon.
include(GNUInstallDirs)
set(CPS_INSTALL_PROGRAM_DIR "lib/cps" CACHE STRING "Program folder, relative to the prefix")
set(CPS_DESKTOP_NAME "cps-program" CACHE STRING
    "Name of the desktop program's link in bin/, its menu entry and its icon")

install(TARGETS cps RUNTIME DESTINATION ${CPS_INSTALL_PROGRAM_DIR})
if(TARGET radiosim)
    install(TARGETS radiosim RUNTIME DESTINATION ${CPS_INSTALL_PROGRAM_DIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/resources/Program.ini DESTINATION ${CPS_INSTALL_PROGRAM_DIR})

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

if(CPS_BUILD_GUI)
    install(TARGETS Program RUNTIME DESTINATION ${CPS_INSTALL_PROGRAM_DIR})
    install(FILES ${CPS_BIN_DIR}/English.qm ${CPS_BIN_DIR}/Chinese.qm
                  ${CPS_BIN_DIR}/enHelp.rcc ${CPS_BIN_DIR}/chHelp.rcc
            DESTINATION ${CPS_INSTALL_PROGRAM_DIR})
    cps_install_link(Program ${CPS_DESKTOP_NAME})
    install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/cps-program.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
            RENAME ${CPS_DESKTOP_NAME}.desktop)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/images/title.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
            RENAME ${CPS_DESKTOP_NAME}.png)
endif()

# `cpack -G DEB` in the build folder makes a Debian package of the same tree under /usr.
set(CPACK_PACKAGE_NAME cps)
set(CPACK_PACKAGE_VENDOR "The radio programming tool developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Programming tool for a hand-held FM two-way radio")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads, edits and writes the memory of a hand-held FM two-way radio over a serial \
port: the desktop program (English and Chinese), the cps command-line tool and the \
radiosim simulated radio.")
set(CPACK_PACKAGE_CONTACT "The radio programming tool developers <cps@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
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
