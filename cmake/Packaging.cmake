# What the packages carry beside the program (manual pages, AppStream
# metadata, copyright and changelog) and the CPack settings of the .deb and
# the .rpm, both made from the same install rules. ./package.sh builds them;
# packaging/test-package.sh installs the .deb and tries it.
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(maintainer "Tropinets maintainers <maintainers@tropinets.example>")

# Manual pages and the changelog are installed compressed, as Debian wants
# them; -n leaves the name and time out, so every build gives the same bytes.
set(compressed ${CMAKE_CURRENT_BINARY_DIR}/compressed)
set(compressed_files)
foreach(pair "tropinets.1:man/tropinets.1.gz" "tropinets.ru.1:man/ru/tropinets.1.gz"
             "changelog:changelog.gz")
    string(REPLACE ":" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 output)
    get_filename_component(output_folder ${compressed}/${output} DIRECTORY)
    add_custom_command(OUTPUT ${compressed}/${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${output_folder}
        COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" sh ${packaging}/${source} ${compressed}/${output}
        DEPENDS ${packaging}/${source}
        VERBATIM)
    list(APPEND compressed_files ${compressed}/${output})
endforeach()
add_custom_target(tropinets_docs ALL DEPENDS ${compressed_files})
# package.sh builds only the program; the documents come with it.
add_dependencies(tropinets tropinets_docs)

install(FILES ${compressed}/man/tropinets.1.gz DESTINATION ${desktop}/share/man/man1)
install(FILES ${compressed}/man/ru/tropinets.1.gz DESTINATION ${desktop}/share/man/ru/man1)
install(FILES ${packaging}/copyright ${compressed}/changelog.gz
        DESTINATION ${desktop}/share/doc/tropinets)
install(FILES ${packaging}/lintian-overrides
        DESTINATION ${desktop}/share/lintian/overrides RENAME tropinets)
# Software centres read /usr/share/metainfo/<component id>.metainfo.xml.
file(STRINGS ${packaging}/tropinets.metainfo.xml id_line REGEX "<id>")
string(REGEX REPLACE ".*<id>(.*)</id>.*" "\\1" appstream_id "${id_line}")
install(FILES ${packaging}/tropinets.metainfo.xml
        DESTINATION ${desktop}/share/metainfo RENAME ${appstream_id}.metainfo.xml)

# CPack's RPM generator marks every file installed to an absolute path as a
# configuration file, which the desktop entry, icons and manual pages are not;
# this last install rule wipes its record of them. The .deb never used it.
install(CODE "set(CMAKE_ABSOLUTE_DESTINATION_FILES \"\")")

set(CPACK_PACKAGE_NAME tropinets)
set(CPACK_PACKAGE_VENDOR "Tropinets maintainers")
set(CPACK_PACKAGE_CONTACT ${maintainer})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "teaching program: a branching story written into a flowchart (in Russian)")
set(CPACK_PACKAGE_DESCRIPTION
    "Тропинец (Tropinets) teaches primary-school pupils how a branching algorithm\n\
runs. The pupil writes a story into a fixed flowchart of seven chapters and\n\
three yes/no questions and chooses a picture for each of the four endings,\n\
then reads the story by answering its questions, and prints it on one page.\n\
The interface is in Russian.\n\
\n\
«Тропинец» учит младших школьников тому, как выполняется алгоритм с\n\
ветвлением. Ученик вписывает рассказ в готовую блок-схему из семи глав и\n\
трёх вопросов «да или нет», выбирает картинку к каждой из четырёх концовок,\n\
читает рассказ, отвечая на его вопросы, и печатает его на одной странице.\n\
\n\
Stories are kept in ${CMAKE_INSTALL_PREFIX}/Рассказы and Картинки, where every pupil\n\
may save. Removing or purging the package deletes the program and the\n\
samples but keeps the stories and pictures that pupils saved there; an\n\
upgrade keeps them too and refreshes the samples.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
# Not relocatable: the command's link and the manual page name the folder.
set(CPACK_PACKAGE_RELOCATABLE OFF)

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
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${packaging}/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
set(CPACK_RPM_PACKAGE_LICENSE "GPL-3.0-or-later")
set(CPACK_RPM_PACKAGE_GROUP "Amusements/Teaching/Other")
set(CPACK_RPM_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RPM_CHANGELOG_FILE ${packaging}/rpm-changelog)
# rpmbuild finds the libraries by the capabilities RPM distributions give
# them (libQt6Widgets.so.6()(64bit) and the like); a font is asked for by the
# capability that fontconfig's RPM generator gives every face with Cyrillic.
set(CPACK_RPM_PACKAGE_AUTOREQ ON)
set(CPACK_RPM_PACKAGE_AUTOPROV OFF)
set(CPACK_RPM_PACKAGE_REQUIRES "font(:lang=ru)")
set(CPACK_RPM_POST_UNINSTALL_SCRIPT_FILE ${packaging}/rpm-postun.sh)
# No /usr/lib/.build-id links: without a debuginfo package they serve nothing.
set(CPACK_RPM_SPEC_MORE_DEFINE "%define _build_id_links none\n%define packager ${maintainer}")
set(CPACK_RPM_PACKAGE_SUMMARY
    "Teaching program: a branching story written into a flowchart (in Russian)")
# The lintian overrides and the Debian changelog mean nothing to an RPM
# distribution; the package carries its own changelog in its header.
set(CPACK_RPM_USER_FILELIST
    "%exclude ${desktop}/share/lintian/overrides/tropinets"
    "%exclude ${desktop}/share/doc/tropinets/changelog.gz")
# Folders that belong to the distribution's filesystem, hicolor and man
# packages, not to this one.
set(CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
    /opt /usr/share/applications /usr/share/metainfo /usr/share/lintian
    /usr/share/lintian/overrides
    /usr/share/man /usr/share/man/man1 /usr/share/man/ru /usr/share/man/ru/man1
    /usr/share/icons /usr/share/icons/hicolor)
foreach(size 16x16 32x32 128x128)
    list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
        /usr/share/icons/hicolor/${size} /usr/share/icons/hicolor/${size}/apps)
endforeach()
include(CPack)
