target_link_libraries(test_${area} PRIVATE lk_cli)
add_dependencies(test_${area} lokavo)
target_compile_definitions(test_${area} PRIVATE LOKAVO_CLI_PATH="$<TARGET_FILE:lokavo>")
# The demonstration script and the search commands run against the stand-in service.
add_dependencies(test_${area} lokavo-service)
