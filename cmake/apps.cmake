# The executables: rovantel in three languages, differing only in the text table linked in.
if(TARGET rt_qt)
  foreach(lang de fr en)
    if(lang STREQUAL "de")
      set(exe rovantel)
    else()
      set(exe rovantel-${lang})
    endif()
    add_executable(${exe} src/apps/rovantel_main.cpp src/apps/lang_${lang}.cpp)
    target_link_libraries(${exe} PRIVATE rovantel_table rt_qt)
  endforeach()
endif()

# The demo recording and start parameter file in examples/, made at build time.
add_executable(make_examples src/apps/make_examples.cpp)
target_link_libraries(make_examples PRIVATE rovantel_system)
add_custom_command(
  OUTPUT ${PROJECT_SOURCE_DIR}/examples/demo.wav ${PROJECT_SOURCE_DIR}/examples/rovantel_start.cfg
  COMMAND make_examples ${PROJECT_SOURCE_DIR}/examples
  DEPENDS make_examples
  COMMENT "Writing the demo recording and start parameter file")
add_custom_target(examples ALL
  DEPENDS ${PROJECT_SOURCE_DIR}/examples/demo.wav ${PROJECT_SOURCE_DIR}/examples/rovantel_start.cfg)

# kelvora, and its port sketch in examples/ (drawn at build time by our own code).
if(TARGET rt_qt)
  add_executable(kelvora src/apps/kelvora_main.cpp)
  target_link_libraries(kelvora PRIVATE rovantel_system rt_qt)
  add_executable(make_port_sketch src/apps/make_port_sketch.cpp)
  target_link_libraries(make_port_sketch PRIVATE rovantel_system rt_qt)
  add_custom_command(
    OUTPUT ${PROJECT_SOURCE_DIR}/examples/auslassmassen.png
    COMMAND make_port_sketch ${PROJECT_SOURCE_DIR}/examples
    DEPENDS make_port_sketch
    COMMENT "Drawing kelvora's port sketch")
  add_custom_target(port_sketch ALL DEPENDS ${PROJECT_SOURCE_DIR}/examples/auslassmassen.png)
endif()
