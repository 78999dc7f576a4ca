# Helpers shared by the folders' CMakeLists.

set(ORVALEN_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)

# Windows test programs run under the project's Wine prefix.
if(ORVALEN_WINDOWS)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVALEN_ROOT}/tools/wine-env)
endif()

# orvalen_library(NAME SOURCES... [LIBS ...]): a static library linked whole, so units that
# register themselves at start-up are never dropped by the linker.
function(orvalen_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  foreach(lib ${A_LIBS})
    if(TARGET ${lib})
      target_link_libraries(${name} PUBLIC "$<LINK_LIBRARY:WHOLE_ARCHIVE,${lib}>")
    else()
      target_link_libraries(${name} PUBLIC ${lib})
    endif()
  endforeach()
endfunction()

function(orvalen_link target)
  foreach(lib ${ARGN})
    if(TARGET ${lib})
      target_link_libraries(${target} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${lib}>")
    else()
      target_link_libraries(${target} PRIVATE ${lib})
    endif()
  endforeach()
endfunction()

# orvalen_test(NAME SOURCES... LIBS ...): one GoogleTest program, one CTest entry.
function(orvalen_test name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  orvalen_link(${name} ${A_LIBS})
  target_link_libraries(${name} PRIVATE GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT})
  # Windows programs share one desktop: focus and the foreground window are theirs one at a time.
  if(ORVALEN_WINDOWS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
  endif()
endfunction()

# orvalen_forms(TARGET Unit1.dfm ...): compiles text forms with the native form compiler and
# embeds each as RCDATA named after its form class in upper case.
set(ORVALEN_FORMC ${CMAKE_BINARY_DIR}/../native/tools/formc/formc CACHE FILEPATH "Native form compiler")
function(orvalen_forms target)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_forms.rc)
  set(lines "")
  set(bins "")
  foreach(dfm ${ARGN})
    get_filename_component(abs ${dfm} ABSOLUTE)
    get_filename_component(base ${dfm} NAME_WE)
    file(STRINGS ${abs} first LIMIT_COUNT 1 REGEX "^(object|inherited) ")
    string(REGEX REPLACE "^(object|inherited) [A-Za-z0-9_]+ *: *([A-Za-z0-9_]+).*" "\\2" cls "${first}")
    string(TOUPPER ${cls} res)
    set(bin ${CMAKE_CURRENT_BINARY_DIR}/${target}_${base}.form)
    add_custom_command(OUTPUT ${bin} COMMAND ${ORVALEN_FORMC} ${abs} ${bin} DEPENDS ${abs} ${ORVALEN_FORMC}
                       COMMENT "Compiling form ${dfm}")
    string(APPEND lines "${res} RCDATA \"${bin}\"\n")
    list(APPEND bins ${bin})
  endforeach()
  file(WRITE ${rc}.in "${lines}")
  configure_file(${rc}.in ${rc} COPYONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${bins}")
  target_sources(${target} PRIVATE ${rc})
endfunction()

# orvalen_shots(TEST NAME...): TEST saves NAME.bmp pictures in ORVALEN_SHOTS, this target's
# folder of build/screenshots; a test after it converts each to a PNG beside it and copies that
# up to build/screenshots, renamed into place so that two targets never mix their bytes.
function(orvalen_shots test)
  set(dir ${CMAKE_BINARY_DIR}/../screenshots/${ORVALEN_TARGET})
  file(MAKE_DIRECTORY ${dir})
  target_compile_definitions(${test} PRIVATE ORVALEN_SHOTS="${dir}")
  set_property(TEST ${test} APPEND PROPERTY FIXTURES_SETUP ${test}_shots)
  add_test(NAME ${test}_png COMMAND sh ${ORVALEN_ROOT}/tools/shots-png ${dir} ${ARGN})
  set_tests_properties(${test}_png PROPERTIES FIXTURES_REQUIRED ${test}_shots)
endfunction()

# orvalen_delay_load(TARGET DLL...): TARGET loads each system DLL (e.g. wsock32.dll) at its first
# call instead of at start-up, through a delay-import library made from the toolchain's import
# library (x86_64 names: "__imp_name").
function(orvalen_delay_load target)
  foreach(dll ${ARGN})
    get_filename_component(base ${dll} NAME_WE)
    find_library(ORVALEN_IMPORT_${base} NAMES lib${base}.a REQUIRED)
    execute_process(COMMAND ${CMAKE_NM} -g ${ORVALEN_IMPORT_${base}} OUTPUT_VARIABLE symbols
                    COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL " I __imp_[^\n]+" imports "${symbols}")
    set(def "LIBRARY ${dll}\nEXPORTS\n")
    foreach(import ${imports})
      string(REGEX REPLACE "^ I __imp_" "" name "${import}")
      string(APPEND def "${name}\n")
    endforeach()
    set(dir ${CMAKE_BINARY_DIR}/delayload)
    file(WRITE ${dir}/${base}.def "${def}")
    execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${dir}/${base}.def --dllname ${dll}
                            --output-delaylib ${dir}/lib${base}_delay.a
                    COMMAND_ERROR_IS_FATAL ANY)
    target_link_libraries(${target} PRIVATE ${dir}/lib${base}_delay.a)
  endforeach()
endfunction()
