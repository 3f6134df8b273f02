include(${PROJECT_SOURCE_DIR}/tests/support/Httplib.cmake)
