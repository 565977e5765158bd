# The Windows program: no console window, its icon and version in the
# executable, and what `cmake --install` puts in the folder that the zip and
# the installer are made of (scripts/windows/package.sh adds the DLLs).
set_target_properties(velmora PROPERTIES WIN32_EXECUTABLE ON)

# The icon's sizes, from the same images the Linux desktop gets.
add_custom_command(OUTPUT velmora.ico
                   COMMAND /usr/bin/python3 ${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows/make-ico.py
                           ${CMAKE_CURRENT_BINARY_DIR}/velmora.ico ${CMAKE_CURRENT_SOURCE_DIR}/resources/icons
                   DEPENDS packaging/windows/make-ico.py resources/icons/256.png VERBATIM)
string(REPLACE "." "," version_commas "${PROJECT_VERSION},0")
configure_file(packaging/windows/velmora.rc.in velmora.rc @ONLY)
target_sources(velmora PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/velmora.rc ${CMAKE_CURRENT_BINARY_DIR}/velmora.ico)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/velmora.rc PROPERTIES
                            OBJECT_DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/velmora.ico)

install(TARGETS velmora RUNTIME DESTINATION .)
# The Culmus faces that stand in for David and MS Sans Serif where Windows
# lacks them, with their licence.
set(culmus /usr/share/fonts/truetype/culmus)
set(faces ${culmus}/DavidCLM-Medium.otf ${culmus}/DavidCLM-Bold.otf ${culmus}/FrankRuehlCLM-Medium.ttf
          ${culmus}/FrankRuehlCLM-Bold.ttf ${culmus}/NachlieliCLM-Light.otf ${culmus}/NachlieliCLM-Bold.otf
          ${culmus}/MiriamCLM-Book.ttf ${culmus}/MiriamCLM-Bold.ttf)
install(FILES ${faces} DESTINATION fonts)
# The suites find them beside themselves too, as the program does, with the
# fixed-width face one of them measures by.
file(COPY ${faces} /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf DESTINATION ${CMAKE_BINARY_DIR}/tests/fonts)
install(FILES /usr/share/doc/culmus/copyright DESTINATION licences RENAME culmus.txt)
install(FILES LICENSE DESTINATION licences RENAME velmora.txt)
