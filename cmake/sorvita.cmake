# Shared build settings of the suite.
option(SORVITA_TESTS "Build the tests" ON)

# The suite's version: the programs' version resources and About boxes, the manifest and
# scripts/package (which reads these three lines) all take it from here.
set(SORVITA_VERSION_MAJOR 2)
set(SORVITA_VERSION_MINOR 0)
set(SORVITA_VERSION_REVISION 0)
# A program whose revision has moved on from the suite's, by its folder's name.
set(SORVITA_REVISION_slide_saver 1)

# The revision of the program built in the calling folder (the suite's, unless it has its own).
function(sorvita_program_revision out)
  get_filename_component(program "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  if(DEFINED SORVITA_REVISION_${program})
    set(${out} ${SORVITA_REVISION_${program}} PARENT_SCOPE)
  else()
    set(${out} ${SORVITA_VERSION_REVISION} PARENT_SCOPE)
  endif()
endfunction()

# The programs' manifest with the version filled in; the test programs carry it too, so
# that they run in the programs' code page.
set(SORVITA_MANIFEST "${CMAKE_BINARY_DIR}/sorvita.manifest")
configure_file("${CMAKE_SOURCE_DIR}/resources/sorvita.manifest" "${SORVITA_MANIFEST}" @ONLY)

if(WIN32)
  # Static, self-contained executables: no runtime DLL beyond Windows' own.
  add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800 NOMINMAX)
  add_link_options(-static -static-libgcc -static-libstdc++)
else()
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

function(sorvita_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# Adds the resource script (manifest, version, icon) of a program to its target.
#   sorvita_resources(target "Title" "file name" "description" icon [extra .rc lines file])
function(sorvita_resources target title filename description icon)
  set(SORVITA_RC_TITLE "${title}")
  set(SORVITA_RC_FILENAME "${filename}")
  set(SORVITA_RC_MAJOR ${SORVITA_VERSION_MAJOR})
  set(SORVITA_RC_MINOR ${SORVITA_VERSION_MINOR})
  # The revision's four digits are the version's last two parts: 1 is x.y.0.1, 102 is x.y.1.2.
  sorvita_program_revision(revision)
  math(EXPR SORVITA_RC_BUILD "${revision} / 100")
  math(EXPR SORVITA_RC_REVISION "${revision} % 100")
  set(SORVITA_RC_DESCRIPTION "${description}")
  set(SORVITA_RC_ICON "${CMAKE_SOURCE_DIR}/resources/${icon}")
  set(SORVITA_RC_RESOURCES "${CMAKE_SOURCE_DIR}/resources")
  set(SORVITA_RC_MANIFEST "${SORVITA_MANIFEST}")
  set(SORVITA_RC_EXTRA "")
  if(ARGC GREATER 5)
    file(READ "${ARGV5}" SORVITA_RC_EXTRA)
    string(CONFIGURE "${SORVITA_RC_EXTRA}" SORVITA_RC_EXTRA @ONLY)
  endif()
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
  configure_file("${CMAKE_SOURCE_DIR}/resources/program.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
endfunction()

# For the start-up module that tells the program its own version.
function(sorvita_version target)
  sorvita_program_revision(revision)
  target_compile_definitions(${target} PRIVATE SORVITA_VERSION_MAJOR=${SORVITA_VERSION_MAJOR}
    SORVITA_VERSION_MINOR=${SORVITA_VERSION_MINOR} SORVITA_VERSION_REVISION=${revision})
endfunction()
