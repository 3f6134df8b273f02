# The results screen is driven against loopback HTTP servers (scripted answers made with zlib)
# and against the stand-in service program through the front end's session.
include(${PROJECT_SOURCE_DIR}/tests/support/Httplib.cmake)
target_link_libraries(test_${area} PRIVATE ZLIB::ZLIB lk_cli)
add_dependencies(test_${area} lokavo-service)
