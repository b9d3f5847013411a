# A cross build never runs its own binaries: the content tools are built for the build machine, by a
# build of this same source tree with MIRABO_GAME=OFF (or the build folder MIRABO_HOST_BUILD names),
# and their content is copied into this build's run folder.
if(MIRABO_HOST_BUILD)
  set(host_build ${MIRABO_HOST_BUILD})
else()
  include(ExternalProject)
  set(host_build ${CMAKE_BINARY_DIR}/host)
  ExternalProject_Add(mirabo_host
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${host_build}
    CMAKE_ARGS -DMIRABO_GAME=OFF -DCMAKE_BUILD_TYPE=Release
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${host_build} --target mirabo_content
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
endif()

add_custom_target(host_content
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${host_build}/data ${MIRABO_DATA_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${host_build}/icons ${MIRABO_RUN_DIR}/icons
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${host_build}/review ${MIRABO_RUN_DIR}/review
  COMMAND ${CMAKE_COMMAND} -E copy ${host_build}/test.bin ${MIRABO_RUN_DIR}/test.bin
  COMMENT "Taking the content made on the build machine from ${host_build}")
if(TARGET mirabo_host)
  add_dependencies(host_content mirabo_host)
endif()
add_dependencies(mirabo_content host_content)
