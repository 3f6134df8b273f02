target_link_libraries(test_${area} PRIVATE lk_cli_terminal ZLIB::ZLIB util)
add_dependencies(test_${area} lokavo)
target_compile_definitions(test_${area} PRIVATE LOKAVO_CLI_PATH="$<TARGET_FILE:lokavo>")
# The demonstration script and the search commands run against the stand-in service; hostile
# service text comes from a scripted loopback server.
add_dependencies(test_${area} lokavo-service)
include(${PROJECT_SOURCE_DIR}/tests/support/Httplib.cmake)
target_sources(test_${area} PRIVATE ${PROJECT_SOURCE_DIR}/tests/search/ScriptedSearchService.cpp)
