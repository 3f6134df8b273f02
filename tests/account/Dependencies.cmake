# The login and the user centre against the stand-in service program (through the front end's
# session) and against scripted loopback servers for answers the stand-in never gives. The
# add-shop run reads what the stand-in stored from its database.
include(${PROJECT_SOURCE_DIR}/tests/support/Httplib.cmake)
target_link_libraries(test_${area} PRIVATE lk_cli Boost::json SQLite::SQLite3)
add_dependencies(test_${area} lokavo-service)
