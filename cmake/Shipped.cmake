# What every program we ship gets on Windows: statically linked, loadable by Windows 98
# (subsystem 4.0), unreferenced code and data left out, and stripped.

# Each function and datum in its own section, so that the link can drop what nothing uses;
# for every Windows target, so that the core and the tests' copies of it match.
if(WIN32)
  add_compile_options(-ffunction-sections -fdata-sections)
endif()

# Program code on Windows: small rather than fast (it waits for the user, not the CPU), and
# without unwind tables, which nothing needs with exceptions off and which the linker would
# otherwise keep together with every function they describe, used or not. Function-local
# statics without the thread-safe guard: nothing we ship starts a thread, and the guard
# brings the exception runtime with it.
function(dialnest_small_code target)
  if(WIN32)
    target_compile_options(${target} PRIVATE -Os -fno-asynchronous-unwind-tables
      $<$<COMPILE_LANGUAGE:CXX>:-fno-threadsafe-statics>)
  endif()
endfunction()

# The run-time libraries as the shipped programs link them (C++, the unwinder, gcc's helpers,
# mingw's start-up and C library): the tool chain's own, without their unwind tables.
# Nothing we ship throws (ShippedRuntime.cpp ends the program where the C++ library would),
# so the tables are never read; yet the linker keeps every table, and with it every function
# it describes and the personality routine and unwinder those name, used or not. Without
# them the link keeps only the library functions that are called.
if(WIN32)
  set(dialnest_shipped_libdir ${CMAKE_BINARY_DIR}/shipped-lib)
  set(dialnest_shipped_libs "")
  foreach(archive libstdc++.a libgcc_eh.a libgcc.a libmingw32.a libmingwex.a libmsvcrt.a)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${archive}
                    OUTPUT_VARIABLE toolchain_archive OUTPUT_STRIP_TRAILING_WHITESPACE)
    add_custom_command(OUTPUT ${dialnest_shipped_libdir}/${archive}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dialnest_shipped_libdir}
      COMMAND ${CMAKE_OBJCOPY} --remove-section=.eh_frame* ${toolchain_archive}
              ${dialnest_shipped_libdir}/${archive}
      DEPENDS ${toolchain_archive}
      VERBATIM)
    list(APPEND dialnest_shipped_libs ${dialnest_shipped_libdir}/${archive})
  endforeach()
  add_custom_target(dialnest_shipped_runtime DEPENDS ${dialnest_shipped_libs})
endif()

function(dialnest_shipped target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/ShippedRuntime.cpp)
  # -L ahead of the tool chain's own folders, so that the driver's -lstdc++, -lgcc_eh and the
  # rest find the copies.
  target_link_options(${target} PRIVATE -L${dialnest_shipped_libdir}
    -static -static-libgcc -static-libstdc++
    -Wl,--gc-sections
    -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
    -Wl,-Map=$<TARGET_FILE_BASE_NAME:${target}>.map)
  add_dependencies(${target} dialnest_shipped_runtime)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${dialnest_shipped_libs})
  dialnest_split_debug(${target})
endfunction()

# snprintf through the C run-time of Windows rather than mingw's own formatter, which
# carries floating-point conversion that the program never asks for (WindowsSnprintf.cpp).
function(dialnest_windows_snprintf target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/WindowsSnprintf.cpp)
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
