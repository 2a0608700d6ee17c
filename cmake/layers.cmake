# brantle_layer(FOLDER [DEPENDS folder...] [PORTABLE source...] [WINDOWS source...]
#               [LIBS library...])
#
# Makes the library brantle_FOLDER of the folder's sources, linked to the
# libraries of the folders it DEPENDS on and to LIBS. It and its users include
# headers as "folder/Name.h" through a directory that links only to FOLDER
# and the folders it depends on. PORTABLE sources need no Windows; the native
# unit tests build them.

if(WIN32)
    enable_language(RC)
    # What every Windows library is compiled and linked with.
    add_library(brantle_platform INTERFACE)
    target_compile_definitions(brantle_platform INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX
                               _WIN32_WINNT=0x0601 STRICT)
    target_link_libraries(brantle_platform INTERFACE brantle_warnings user32 gdi32 advapi32)
endif()

# A directory of links to the given folders of the source tree.
function(brantle_include_view out name)
    set(view ${CMAKE_BINARY_DIR}/include_views/${name})
    file(REMOVE_RECURSE ${view})
    file(MAKE_DIRECTORY ${view})
    foreach(folder ${ARGN})
        file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${view}/${folder} SYMBOLIC)
    endforeach()
    set(${out} ${view} PARENT_SCOPE)
endfunction()

function(brantle_layer folder)
    cmake_parse_arguments(PARSE_ARGV 1 L "" "" "DEPENDS;PORTABLE;WINDOWS;LIBS")
    set(BRANTLE_PORTABLE_SOURCES ${BRANTLE_PORTABLE_SOURCES} ${L_PORTABLE} PARENT_SCOPE)
    if(NOT WIN32)
        return()
    endif()
    brantle_include_view(view ${folder} ${folder} ${L_DEPENDS})
    list(TRANSFORM L_DEPENDS PREPEND brantle_ OUTPUT_VARIABLE dependencies)
    set(target brantle_${folder})
    if(L_PORTABLE OR L_WINDOWS)
        add_library(${target} STATIC ${L_PORTABLE} ${L_WINDOWS})
        target_include_directories(${target} PUBLIC ${view})
        target_link_libraries(${target} PUBLIC brantle_platform ${dependencies} ${L_LIBS})
    else()
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${view})
        target_link_libraries(${target} INTERFACE ${dependencies})
    endif()
endfunction()

# The program's resources, compiled into the executable itself: in a static
# library they would be dropped, as nothing refers to a resource by symbol.
function(brantle_add_resources target)
    target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/res/Brantle.rc)
endfunction()
