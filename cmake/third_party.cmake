# The encoders built from Debian's source packages by third_party/build.sh:
#
#   BRANTLE_THIRD_PARTY_DIR   cache variable: the folder third_party/build.sh
#                             builds into (third_party/build.sh --dir prints
#                             it; scripts/build.sh and scripts/package.sh
#                             pass it). Empty: no encoders, no converter.
#   BRANTLE_ENCODERS_FOUND    TRUE when both libraries are there for this
#                             tree's architecture
#   brantle::x264             libx264.a; #include <stdint.h> then <x264.h>
#   brantle::aacenc           libvo-aacenc.a; #include <vo-aacenc/voAAC.h>
#                             and <vo-aacenc/cmnMemory.h>
#   brantle::encoder_versions #include "third_party/EncoderVersions.h":
#                             BRANTLE_X264_VERSION, BRANTLE_X264_LICENCE,
#                             BRANTLE_AACENC_VERSION, BRANTLE_AACENC_LICENCE
#                             (both library targets bring it along)
#
# The versions come from third_party/versions, as the build script's do.

set(BRANTLE_THIRD_PARTY_DIR "" CACHE PATH
    "Folder of the encoders built by third_party/build.sh (empty: no converter)")
set(BRANTLE_ENCODERS_FOUND FALSE)

if(NOT WIN32 OR BRANTLE_THIRD_PARTY_DIR STREQUAL "")
    return()
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(brantle_triplet x86_64-w64-mingw32)
else()
    set(brantle_triplet i686-w64-mingw32)
endif()

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/third_party/versions)
file(STRINGS ${CMAKE_SOURCE_DIR}/third_party/versions brantle_versions REGEX "^[a-z0-9.+-]+=")
foreach(line ${brantle_versions})
    string(REGEX REPLACE "=.*" "" package "${line}")
    string(REGEX REPLACE "^[^=]*=" "" version "${line}")
    # The folder is named without the epoch, as Debian's files are.
    string(REGEX REPLACE "^[0-9]+:" "" plain_version "${version}")
    set(brantle_${package}_version ${plain_version})
    set(brantle_${package}_dir ${BRANTLE_THIRD_PARTY_DIR}/${package}-${plain_version}/${brantle_triplet})
    # A warning only: scripts/run.sh reconfigures a tree without building
    # the encoders, and needs no converter.
    if(NOT EXISTS ${brantle_${package}_dir}/.complete)
        message(WARNING "BRANTLE_THIRD_PARTY_DIR: no complete build of ${package} "
                "${version} in ${brantle_${package}_dir} (third_party/build.sh makes it); "
                "the converter is left out")
        return()
    endif()
endforeach()

function(brantle_encoder_library target package library)
    set(dir ${brantle_${package}_dir})
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES
        IMPORTED_LOCATION ${dir}/lib/${library}
        INTERFACE_INCLUDE_DIRECTORIES ${dir}/include
        INTERFACE_LINK_LIBRARIES brantle::encoder_versions)
endfunction()

# The versions and licences, for the converter's About box.
set(BRANTLE_X264_VERSION ${brantle_x264_version})
set(BRANTLE_AACENC_VERSION ${brantle_vo-aacenc_version})
configure_file(${CMAKE_SOURCE_DIR}/third_party/EncoderVersions.h.in
               ${CMAKE_BINARY_DIR}/generated/third_party/EncoderVersions.h @ONLY)
add_library(brantle::encoder_versions INTERFACE IMPORTED GLOBAL)
set_target_properties(brantle::encoder_versions PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${CMAKE_BINARY_DIR}/generated)

brantle_encoder_library(brantle::x264 x264 libx264.a)
brantle_encoder_library(brantle::aacenc vo-aacenc libvo-aacenc.a)
set(BRANTLE_ENCODERS_FOUND TRUE)
message(STATUS "Encoders: x264 ${brantle_x264_version}, vo-aacenc "
               "${brantle_vo-aacenc_version} (${brantle_triplet})")
