# The packages for Windows users, included at the end of the top-level
# CMakeLists.txt in a Windows build, when every program target is known.
# They are (scripts/package-windows.sh builds them):
# Velmo-<version>-setup.exe, a per-user installer made by NSIS from
# installer/velmo.nsi, and Velmo-<version>-windows.zip, which unpacks to a
# folder Velmo. Both hold the two programs, stripped, and the guide in
# docs/, where Help looks for it, laid out first in package/Velmo/.
# cmake --build build-win --target velmo_packages
find_program(VELMO_MAKENSIS makensis)
set(package_base ${CMAKE_CURRENT_BINARY_DIR}/Velmo-${PROJECT_VERSION})
set(setup ${package_base}-setup.exe)
set(zip ${package_base}-windows.zip)
set(package_folder ${CMAKE_CURRENT_BINARY_DIR}/package/Velmo)
set(package_files ${package_folder}/velmo.exe ${package_folder}/velmo-signature.exe
    ${package_folder}/docs/mail-clients.html)
add_custom_command(OUTPUT ${package_files}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${package_folder}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${package_folder}/docs
    COMMAND ${CMAKE_STRIP} -o ${package_folder}/velmo.exe $<TARGET_FILE:velmo>
    COMMAND ${CMAKE_STRIP} -o ${package_folder}/velmo-signature.exe
        $<TARGET_FILE:velmo-signature>
    COMMAND ${CMAKE_COMMAND} -E copy ${guide} ${package_folder}/docs
    DEPENDS velmo velmo-signature ${guide}
    COMMENT "Laying out the programs and the guide for the packages"
    VERBATIM)
set(nsis_args -WX -V2 -DVERSION=${PROJECT_VERSION}
    -DFILE_VERSION=${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0
    -DFILES=${package_folder} -DOUTFILE=${setup})
set(setup_depends ${package_files} ${CMAKE_CURRENT_LIST_DIR}/velmo.nsi)
if(TARGET make_icon)
    # The installer's icon, the program's own, drawn by a Windows program
    # of the build: run under Wine (the caller's WINEPREFIX, booted).
    set(setup_icon ${CMAKE_CURRENT_BINARY_DIR}/package/velmo.ico)
    add_custom_command(OUTPUT ${setup_icon}
        COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:make_icon> ${setup_icon}
        DEPENDS make_icon
        COMMENT "Drawing the installer's icon")
    list(APPEND nsis_args -DICON=${setup_icon})
    list(APPEND setup_depends ${setup_icon})
endif()
if(VELMO_MAKENSIS)
    set(make_setup ${VELMO_MAKENSIS} ${nsis_args} ${CMAKE_CURRENT_LIST_DIR}/velmo.nsi)
else()
    set(make_setup ${CMAKE_COMMAND} -E echo "makensis not found: apt-get install nsis"
        COMMAND ${CMAKE_COMMAND} -E false)
endif()
add_custom_command(OUTPUT ${setup}
    COMMAND ${make_setup}
    DEPENDS ${setup_depends}
    COMMENT "Making the installer Velmo-${PROJECT_VERSION}-setup.exe with NSIS"
    VERBATIM)
add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_CURRENT_BINARY_DIR}/package
        ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip Velmo
    DEPENDS ${package_files}
    COMMENT "Making Velmo-${PROJECT_VERSION}-windows.zip"
    VERBATIM)
add_custom_target(velmo_packages DEPENDS ${setup} ${zip})
