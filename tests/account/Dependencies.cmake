# The login and the user centre against the stand-in service program (through the front end's
# session) and against scripted loopback servers for answers the stand-in never gives.
include(${PROJECT_SOURCE_DIR}/tests/support/Httplib.cmake)
target_link_libraries(test_${area} PRIVATE lk_cli Boost::json)
add_dependencies(test_${area} lokavo-service)
