# The window front end's painter, input and run loop, offscreen; the run-loop contract on the Qt
# backend; the screenshot mode of lokavo-qt against the stand-in service.
target_link_libraries(test_${area} PRIVATE lk_window)
target_sources(test_${area} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/contract/RunLoopContract.cpp
  ${PROJECT_SOURCE_DIR}/frontends/qt/LeakSuppressions.cpp)
add_dependencies(test_${area} lokavo-qt lokavo-service)
target_compile_definitions(test_${area} PRIVATE LOKAVO_QT_PATH="$<TARGET_FILE:lokavo-qt>")
