# The desktop program. Included from this folder's CMakeLists.txt when CPS_BUILD_GUI is on.

# Widgets shared by every window: the grid control, the colour label, message boxes.
add_library(cps_gui_base STATIC
    ${CMAKE_CURRENT_LIST_DIR}/CMSFlexGrid.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CMSFlexGrid.h
    ${CMAKE_CURRENT_LIST_DIR}/CColorLabel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CColorLabel.h
    ${CMAKE_CURRENT_LIST_DIR}/Prompter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Prompter.h
)
set_target_properties(cps_gui_base PROPERTIES AUTOMOC ON)
target_include_directories(cps_gui_base PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(cps_gui_base PUBLIC Qt6::Widgets)

# Main window, documents, navigation, splash and start-up (cps_channels_view comes from
# src/channels, added after this folder).
add_library(cps_gui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/CMainFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CMainFrame.h
    ${CMAKE_CURRENT_LIST_DIR}/CChildFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CChildFrame.h
    ${CMAKE_CURRENT_LIST_DIR}/CProgramDoc.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CProgramDoc.h
    ${CMAKE_CURRENT_LIST_DIR}/NavigationBar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/NavigationBar.h
    ${CMAKE_CURRENT_LIST_DIR}/SplashWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SplashWindow.h
    ${CMAKE_CURRENT_LIST_DIR}/Startup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Startup.h
)
set_target_properties(cps_gui PROPERTIES AUTOMOC ON)
target_include_directories(cps_gui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(cps_gui PUBLIC cps_gui_base cps_channels_view cps_appcore Qt6::Widgets)

set(CPS_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
qt_add_resources(cps_gui cps_pictures
    PREFIX "/"
    BASE ${CPS_RESOURCES}
    FILES ${CPS_RESOURCES}/images/background.png
          ${CPS_RESOURCES}/images/close.png
          ${CPS_RESOURCES}/images/title.png
)

add_executable(Program ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(Program PRIVATE cps_gui)

# Language files and the default settings, beside the program.
set(CPS_TS_FILES
    ${CPS_RESOURCES}/translations/English.ts
    ${CPS_RESOURCES}/translations/Chinese.ts
)
set_source_files_properties(${CPS_TS_FILES} PROPERTIES OUTPUT_LOCATION ${CMAKE_BINARY_DIR}/bin)
qt_add_lrelease(Program TS_FILES ${CPS_TS_FILES} QM_FILES_OUTPUT_VARIABLE CPS_QM_FILES)
configure_file(${CPS_RESOURCES}/Program.ini ${CMAKE_BINARY_DIR}/bin/Program.ini COPYONLY)
set(CPS_BIN_DIR ${CMAKE_BINARY_DIR}/bin CACHE INTERNAL "Folder of the built programs")
