# The front end's session against the stand-in service program, with faults injected.
target_link_libraries(test_${area} PRIVATE lk_cli Boost::json)
add_dependencies(test_${area} lokavo-service)
