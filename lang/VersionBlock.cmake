# The version block of the program and its libraries: key=value lines in the ELF section
# ".orvel_version", read back by TVersionInformation. The values are set here, once; the
# version number is the project's.
#
#   orvel_embed_version_block(<target> [DESCRIPTION <text>])
#
# Values must not hold double quotes, backslashes or line breaks.
set(ORVEL_VERSION_BLOCK_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/VersionBlock.cpp.in CACHE INTERNAL "")

function(orvel_embed_version_block target)
  cmake_parse_arguments(V "" "DESCRIPTION" "" ${ARGN})
  set(VB_TRANSLATION "0409FDE9")   # US English, UTF-8
  set(VB_COMPANY_NAME "Talmer Group")
  set(VB_FILE_DESCRIPTION "Orvel questionnaire test builder")
  if(V_DESCRIPTION)
    set(VB_FILE_DESCRIPTION "${V_DESCRIPTION}")
  endif()
  set(VB_FILE_VERSION "${CMAKE_PROJECT_VERSION}")
  set(VB_INTERNAL_NAME "${target}")
  set(VB_LEGAL_COPYRIGHT "Copyright (C) Talmer Group")
  set(VB_LEGAL_TRADEMARKS "Orvel - questionnaire tests for psychological and educational diagnostics")
  set(VB_PRODUCT_NAME "Orvel")
  set(VB_PRODUCT_VERSION "${CMAKE_PROJECT_VERSION}")
  set(VB_COMMENTS "Builds and runs questionnaire tests")
  foreach(v VB_FILE_DESCRIPTION VB_INTERNAL_NAME)
    if("${${v}}" MATCHES "[\"\\\\\n]")
      message(FATAL_ERROR "orvel_embed_version_block: ${v} of ${target} holds a quote, backslash or line break")
    endif()
  endforeach()
  set(VB_TARGET "${target}")
  set(staged ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_block.cpp.in)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_block.cpp)
  configure_file(${ORVEL_VERSION_BLOCK_TEMPLATE} ${staged} @ONLY)
  # The file name is known only when the build is generated.
  file(GENERATE OUTPUT ${out} INPUT ${staged})
  target_sources(${target} PRIVATE ${out})
endfunction()
