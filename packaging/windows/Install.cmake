# The installed program on Windows is one folder, as on Linux: the program
# with "Рассказы" and "Картинки" beside it, and everything it loads, so it
# starts on a Windows with nothing else installed: Qt's libraries and the
# plugins it opens (the Windows platform, its style, JPEG), MinGW's runtime,
# Qt's Russian texts, and qt.conf, which tells Qt to find them there.
# packaging/windows/build.sh installs into a folder that NSIS then packs.
install(TARGETS tropinets RUNTIME DESTINATION .)
install(DIRECTORY samples/Рассказы samples/Картинки DESTINATION .)
foreach(module Core Gui Widgets PrintSupport)
    install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION plugins/platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION plugins/styles)
install(FILES $<TARGET_FILE:Qt6::QJpegPlugin> DESTINATION plugins/imageformats)

# MinGW's own runtime, from the compiler that built it all.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know ${dll}")
    endif()
    install(FILES ${found} DESTINATION .)
endforeach()

# Qt's translations serve every platform; the build machine's are Debian's.
set(TROPINETS_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH
    "Where qtbase_ru.qm is found")
install(FILES ${TROPINETS_QT_TRANSLATIONS}/qtbase_ru.qm DESTINATION translations)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/qt.conf DESTINATION .)

# The Russian dictionary for the spelling check, Debian's, in the folder
# "hunspell" beside the program, where it looks first; beside it the words
# children write.
if(TROPINETS_WITH_SPELLING)
    install(FILES /usr/share/hunspell/ru_RU.aff /usr/share/hunspell/ru_RU.dic
                  spelling/children-words.txt DESTINATION hunspell)
endif()
