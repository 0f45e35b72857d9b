# The installed program is one folder, /opt/tropinets unless a prefix is
# given: the executable with "Рассказы" and "Картинки" beside it, where it
# looks for them. The tropinets command, the desktop entry and the icons go
# under TROPINETS_DESKTOP_PREFIX, where the shell and the desktop find them:
# /usr/local for an install by hand, /usr in the Debian package.
# A build folder configured before these rules came still holds CMake's own
# default, which is no place for a program folder.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT
   OR (CMAKE_INSTALL_PREFIX STREQUAL "/usr/local" AND NOT DEFINED CACHE{TROPINETS_DESKTOP_PREFIX}))
    set(CMAKE_INSTALL_PREFIX /opt/tropinets CACHE PATH "Folder of the installed program" FORCE)
endif()
set(TROPINETS_DESKTOP_PREFIX /usr/local CACHE PATH
    "Where the tropinets command (bin/), desktop entry and icons (share/) are installed")
set(desktop ${TROPINETS_DESKTOP_PREFIX})

install(TARGETS tropinets RUNTIME DESTINATION .)
install(DIRECTORY samples/Рассказы samples/Картинки DESTINATION .)
# Save starts in "Рассказы", so every pupil of the computer may save there;
# as in /tmp, nobody may replace or delete what another one saved, nor the
# samples. install() cannot set the sticky bit itself.
install(CODE [[
foreach(folder "Рассказы" "Картинки")
    execute_process(COMMAND chmod 1777 "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${folder}"
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot open ${CMAKE_INSTALL_PREFIX}/${folder} to all users")
    endif()
endforeach()
]])

# The command on the PATH is a symlink; the program still finds its folders
# because its own path is resolved through /proc/self/exe.
install(CODE "set(tropinets_desktop_prefix \"${desktop}\")")
install(CODE [[
set(link "$ENV{DESTDIR}${tropinets_desktop_prefix}/bin/tropinets")
message(STATUS "Installing: ${link} -> ${CMAKE_INSTALL_PREFIX}/tropinets")
file(MAKE_DIRECTORY "$ENV{DESTDIR}${tropinets_desktop_prefix}/bin")
file(CREATE_LINK "${CMAKE_INSTALL_PREFIX}/tropinets" "${link}" SYMBOLIC)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${link}")
]])

install(FILES packaging/tropinets.desktop DESTINATION ${desktop}/share/applications)

# The desktop's icons, drawn by the asset generator; the 16 and 32 pixel
# ones are the images of the program's own icon file.
foreach(size 16 32 128)
    install(FILES tools/out/tropinets-${size}.png
            DESTINATION ${desktop}/share/icons/hicolor/${size}x${size}/apps RENAME tropinets.png)
endforeach()

if(TARGET tst_installlayout)
    add_dependencies(tst_installlayout tropinets)
    target_compile_definitions(tst_installlayout PRIVATE
        TROPINETS_BINARY_DIR="${PROJECT_BINARY_DIR}"
        TROPINETS_DESKTOP_PREFIX="${desktop}"
        TROPINETS_CMAKE="${CMAKE_COMMAND}")
endif()

# cpack -G DEB in the build folder; ./package.sh builds it from scratch.
set(CPACK_PACKAGE_NAME tropinets)
set(CPACK_PACKAGE_VENDOR "Тропинец")
set(CPACK_PACKAGE_CONTACT "Tropinets developers <tropinets@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "teaching program: a branching story written into a flowchart (in Russian)")
set(CPACK_PACKAGE_DESCRIPTION
    "Тропинец teaches primary-school pupils how a branching algorithm runs.\n\
The pupil writes a story into a fixed flowchart of chapters and yes/no\n\
questions, chooses a picture for each ending, then reads the story by\n\
answering its questions, and prints it. The interface is in Russian.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# libqt6gui6 brings Qt's X11 platform plugin and its BMP and JPEG readers;
# qt6-qpa-plugins has the other platforms, qt6-translations-l10n the Russian
# dialog buttons, fonts-liberation2 a sans-serif face with Cyrillic.
# dpkg-shlibdeps adds the libraries with the versions built against.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-liberation2")
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    string(PREPEND CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6core6 (>= 6.2), libqt6gui6 (>= 6.2), \
libqt6widgets6 (>= 6.2), libqt6printsupport6 (>= 6.2), ")
endif()
include(CPack)
