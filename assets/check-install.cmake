# Installs the build into a scratch prefix and checks that each file lands where a Debian desktop
# looks for it.
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${STAGE}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

foreach(path bin/quorvel
             share/applications/${APP_ID}.desktop
             share/metainfo/${APP_ID}.metainfo.xml
             share/icons/hicolor/32x32/apps/${APP_ID}.png)
    if(NOT EXISTS ${STAGE}/${path})
        message(FATAL_ERROR "not installed: ${path}")
    endif()
endforeach()

# The installed icon is the window's: 32x32, 8-bit palette.
file(READ ${STAGE}/share/icons/hicolor/32x32/apps/${APP_ID}.png header LIMIT 26 HEX)
string(SUBSTRING "${header}" 32 16 size)
string(SUBSTRING "${header}" 48 4 depthAndType)
if(NOT size STREQUAL "0000002000000020" OR NOT depthAndType STREQUAL "0803")
    message(FATAL_ERROR "icon is not a 32x32 paletted PNG: ${header}")
endif()
