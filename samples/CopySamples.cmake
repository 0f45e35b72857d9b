# Copies every sample file that is not there yet. A file that is there stays:
# it may be a pupil's own story saved under the same name.
foreach(folder "Рассказы" "Картинки")
    file(GLOB names RELATIVE "${SOURCE}/${folder}" "${SOURCE}/${folder}/*")
    foreach(name IN LISTS names)
        if(NOT EXISTS "${DESTINATION}/${folder}/${name}")
            file(COPY "${SOURCE}/${folder}/${name}" DESTINATION "${DESTINATION}/${folder}")
        endif()
    endforeach()
endforeach()
