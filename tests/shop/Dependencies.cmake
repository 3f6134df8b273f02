# The shop screens are driven against a scripted loopback service (answers made with zlib) and,
# end to end, against the stand-in service program through the front end's session.
include(${PROJECT_SOURCE_DIR}/tests/support/Httplib.cmake)
target_link_libraries(test_${area} PRIVATE ZLIB::ZLIB lk_cli)
add_dependencies(test_${area} lokavo-service)
