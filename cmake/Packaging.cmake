# What an installed program carries beside itself for the desktop and the
# shell: manual pages and AppStream metadata. The packages are built from
# debian/ and packaging/tropinets.spec, which add the copyright, changelog
# and maintainer scripts; ./package.sh builds them.
set(packaging ${PROJECT_SOURCE_DIR}/packaging)

# Manual pages are installed compressed, as distributions want them; -n
# leaves the name and time out, so every build gives the same bytes.
set(compressed ${CMAKE_CURRENT_BINARY_DIR}/compressed)
set(compressed_files)
foreach(pair "tropinets.1:man/tropinets.1.gz" "tropinets.ru.1:man/ru/tropinets.1.gz")
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
# A build of the program alone brings them too.
add_dependencies(tropinets tropinets_docs)

install(FILES ${compressed}/man/tropinets.1.gz DESTINATION ${desktop}/share/man/man1)
install(FILES ${compressed}/man/ru/tropinets.1.gz DESTINATION ${desktop}/share/man/ru/man1)
# Software centres read /usr/share/metainfo/<component id>.metainfo.xml.
file(STRINGS ${packaging}/tropinets.metainfo.xml id_line REGEX "<id>")
string(REGEX REPLACE ".*<id>(.*)</id>.*" "\\1" appstream_id "${id_line}")
install(FILES ${packaging}/tropinets.metainfo.xml
        DESTINATION ${desktop}/share/metainfo RENAME ${appstream_id}.metainfo.xml)

