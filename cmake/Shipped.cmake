# What every program we ship gets on Windows: statically linked, loadable by Windows 98
# (subsystem 4.0), unreferenced code and data left out, and stripped.

# Each function and datum in its own section, so that the link can drop what nothing uses;
# for every Windows target, so that the core and the tests' copies of it match.
if(WIN32)
  add_compile_options(-ffunction-sections -fdata-sections)
endif()

# Program code on Windows: small rather than fast (it waits for the user, not the CPU), and
# without unwind tables, which nothing needs with exceptions off and which the linker would
# otherwise keep together with every function they describe, used or not.
function(dialnest_small_code target)
  if(WIN32)
    target_compile_options(${target} PRIVATE -Os -fno-asynchronous-unwind-tables)
  endif()
endfunction()

function(dialnest_shipped target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/ShippedRuntime.cpp)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++
    -Wl,--gc-sections
    -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
    -Wl,-Map=$<TARGET_FILE_BASE_NAME:${target}>.map)
  dialnest_split_debug(${target})
endfunction()

# A Windows binary as shipped: without debug information, which Wine would otherwise read
# into memory with the rest of the image at every start. <name>.debug beside the build
# output keeps it for crash analysis, and the binary names that file by a debug link.
function(dialnest_split_debug target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}>
            $<TARGET_FILE_BASE_NAME:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all
            --add-gnu-debuglink=$<TARGET_FILE_BASE_NAME:${target}>.debug
            $<TARGET_FILE_NAME:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()
