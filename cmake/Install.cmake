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
# The words children write, for the spelling check, in the folder "hunspell"
# where the program looks first for its dictionary; the dictionary itself is
# the system's (hunspell-ru).
if(TROPINETS_WITH_SPELLING)
    install(FILES spelling/children-words.txt DESTINATION hunspell)
endif()
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

include(${CMAKE_CURRENT_LIST_DIR}/Packaging.cmake)
