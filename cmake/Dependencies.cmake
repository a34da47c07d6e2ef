# libzip and expat, as the targets qm_zip and qm_expat, and zlib (ZLIB::ZLIB).
#
# QM_DEPS=SYSTEM links the installed libraries (Debian: libzip-dev, libexpat1-dev); BUNDLED builds
# static libraries from the pinned sources in third_party/ with only what the module uses (no
# encryption, no bzip2 or lzma), so a wheel carries no shared library of its own; AUTO (the
# default) takes each installed library when it is found and the bundled sources otherwise.
# When neither is there, configuring stops with one line naming the package to install.
set(QM_DEPS "AUTO" CACHE STRING "Where libzip and expat come from: AUTO, SYSTEM or BUNDLED")
set_property(CACHE QM_DEPS PROPERTY STRINGS AUTO SYSTEM BUNDLED)
if(NOT QM_DEPS MATCHES "^(AUTO|SYSTEM|BUNDLED)$")
  message(FATAL_ERROR "  QM_DEPS must be AUTO, SYSTEM or BUNDLED, not '${QM_DEPS}'")
endif()

set(QM_THIRD_PARTY ${CMAKE_CURRENT_LIST_DIR}/../third_party CACHE PATH "Pinned sources of libzip and expat")
set(QM_DEPS_PREFIX ${CMAKE_CURRENT_BINARY_DIR}/third_party)

# One line, then stop: CMake's own report of a failed search runs to dozens of lines. The leading
# blanks keep CMake from wrapping it.
function(qm_missing what package)
  if(QM_DEPS STREQUAL "SYSTEM")
    message(FATAL_ERROR "  ${what} not found: apt-get install ${package}")
  endif()
  message(FATAL_ERROR "  ${what} not found: apt-get install ${package} "
                      "(or put the pinned sources in third_party/: third_party/fetch.sh)")
endfunction()

function(qm_bundled_present name out)
  if(EXISTS ${QM_THIRD_PARTY}/${name}/CMakeLists.txt)
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

# A static library built by its own CMake project into the build tree, so its options, install
# rules and warnings stay out of ours.
function(qm_add_bundled name library)
  include(ExternalProject)
  ExternalProject_Add(qm_${name}_build
    SOURCE_DIR ${QM_THIRD_PARTY}/${name}
    BINARY_DIR ${QM_DEPS_PREFIX}/${name}-build
    INSTALL_DIR ${QM_DEPS_PREFIX}
    CMAKE_ARGS
      -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
      -DCMAKE_INSTALL_LIBDIR=lib
      -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_POSITION_INDEPENDENT_CODE=ON
      -DCMAKE_C_VISIBILITY_PRESET=hidden
      -DBUILD_SHARED_LIBS=OFF
      # Both projects declare minimum versions that CMake 4 no longer accepts on their own.
      -DCMAKE_POLICY_VERSION_MINIMUM=3.5
      ${ARGN}
    BUILD_BYPRODUCTS ${QM_DEPS_PREFIX}/lib/${library}
    UPDATE_COMMAND ""
    USES_TERMINAL_BUILD FALSE)
  file(MAKE_DIRECTORY ${QM_DEPS_PREFIX}/include)
  add_library(qm_${name}_static STATIC IMPORTED GLOBAL)
  set_target_properties(qm_${name}_static PROPERTIES IMPORTED_LOCATION ${QM_DEPS_PREFIX}/lib/${library})
  add_dependencies(qm_${name}_static qm_${name}_build)
endfunction()

# zlib: the core and libzip both use it; every system has the shared library, so it is never bundled.
find_package(ZLIB QUIET)
if(NOT ZLIB_FOUND)
  message(FATAL_ERROR "  zlib not found: apt-get install zlib1g-dev")
endif()

# libzip
set(_zip_source "")
if(NOT QM_DEPS STREQUAL "BUNDLED")
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_check_modules(LIBZIP QUIET IMPORTED_TARGET libzip)
  endif()
  if(LIBZIP_FOUND)
    set(_zip_source system)
  elseif(QM_DEPS STREQUAL "SYSTEM")
    if(NOT PKG_CONFIG_FOUND)
      qm_missing("pkg-config (needed to find libzip)" pkg-config)
    endif()
    qm_missing("libzip" libzip-dev)
  endif()
endif()
if(NOT _zip_source)
  qm_bundled_present(libzip _present)
  if(NOT _present)
    if(NOT PKG_CONFIG_FOUND AND NOT QM_DEPS STREQUAL "BUNDLED")
      qm_missing("pkg-config (needed to find libzip)" pkg-config)
    endif()
    qm_missing("libzip" libzip-dev)
  endif()
  qm_add_bundled(libzip libzip.a
    -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF
    -DENABLE_WINDOWS_CRYPTO=OFF -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF
    -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF)
  set(_zip_source bundled)
endif()
add_library(qm_zip INTERFACE)
if(_zip_source STREQUAL "system")
  target_link_libraries(qm_zip INTERFACE PkgConfig::LIBZIP)
else()
  target_include_directories(qm_zip INTERFACE ${QM_DEPS_PREFIX}/include)
  target_link_libraries(qm_zip INTERFACE qm_libzip_static ZLIB::ZLIB)
endif()

# expat
set(_expat_source "")
if(NOT QM_DEPS STREQUAL "BUNDLED")
  find_package(EXPAT QUIET)
  if(EXPAT_FOUND)
    set(_expat_source system)
  elseif(QM_DEPS STREQUAL "SYSTEM")
    qm_missing("expat" libexpat1-dev)
  endif()
endif()
if(NOT _expat_source)
  qm_bundled_present(expat _present)
  if(NOT _present)
    qm_missing("expat" libexpat1-dev)
  endif()
  qm_add_bundled(expat libexpat.a
    -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF
    -DEXPAT_BUILD_FUZZERS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF -DEXPAT_SHARED_LIBS=OFF)
  set(_expat_source bundled)
endif()
add_library(qm_expat INTERFACE)
if(_expat_source STREQUAL "system")
  target_link_libraries(qm_expat INTERFACE EXPAT::EXPAT)
else()
  target_include_directories(qm_expat INTERFACE ${QM_DEPS_PREFIX}/include)
  target_link_libraries(qm_expat INTERFACE qm_expat_static)
endif()

message(STATUS "quillmark: libzip ${_zip_source}, expat ${_expat_source}")

# ISA-L (Deflate and CRC-32), as the target qm_isal, for whoever calls qm_use_isal(): the installed
# library (Debian: libisal-dev) or, under the same QM_DEPS rule, a static build of its Deflate and
# CRC units from third_party/isa-l (x86-64 needs nasm for its assembly).
function(qm_use_isal)
  if(TARGET qm_isal)
    return()
  endif()
  set(_source "")
  if(NOT QM_DEPS STREQUAL "BUNDLED")
    find_package(PkgConfig QUIET)
    if(PKG_CONFIG_FOUND)
      pkg_check_modules(ISAL QUIET IMPORTED_TARGET GLOBAL libisal)
    endif()
    if(ISAL_FOUND)
      set(_source system)
    elseif(QM_DEPS STREQUAL "SYSTEM" OR NOT EXISTS ${QM_THIRD_PARTY}/isa-l/Makefile.unx)
      qm_missing("ISA-L" libisal-dev)
    endif()
  endif()
  add_library(qm_isal INTERFACE)
  if(_source STREQUAL "system")
    target_link_libraries(qm_isal INTERFACE PkgConfig::ISAL)
    message(STATUS "quillmark: isa-l system")
    return()
  endif()
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$")
    find_program(QM_NASM nasm)
    if(NOT QM_NASM)
      message(FATAL_ERROR "  nasm not found (it assembles ISA-L): apt-get install nasm")
    endif()
  endif()
  include(ExternalProject)
  # ISA-L builds with its own make file, in a copy so the pinned tree stays clean.
  ExternalProject_Add(qm_isal_build
    SOURCE_DIR ${QM_THIRD_PARTY}/isa-l
    BINARY_DIR ${QM_DEPS_PREFIX}/isa-l-build
    CONFIGURE_COMMAND ${CMAKE_COMMAND} -E copy_directory <SOURCE_DIR> <BINARY_DIR>
    BUILD_COMMAND make -f Makefile.unx "units=crc igzip" "CFLAGS_=-fPIC -fvisibility=hidden" lib
    INSTALL_COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/bin/isa-l.a ${QM_DEPS_PREFIX}/lib/libisal.a
            COMMAND ${CMAKE_COMMAND} -E copy_directory <BINARY_DIR>/include ${QM_DEPS_PREFIX}/include/isa-l
    BUILD_BYPRODUCTS ${QM_DEPS_PREFIX}/lib/libisal.a
    UPDATE_COMMAND "")
  file(MAKE_DIRECTORY ${QM_DEPS_PREFIX}/include)
  add_library(qm_isal_static STATIC IMPORTED GLOBAL)
  set_target_properties(qm_isal_static PROPERTIES IMPORTED_LOCATION ${QM_DEPS_PREFIX}/lib/libisal.a)
  add_dependencies(qm_isal_static qm_isal_build)
  target_include_directories(qm_isal INTERFACE ${QM_DEPS_PREFIX}/include)
  target_link_libraries(qm_isal INTERFACE qm_isal_static)
  message(STATUS "quillmark: isa-l bundled")
endfunction()
