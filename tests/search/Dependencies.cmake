# The results screen is driven on the fake transport (scripted answers, virtual time) and, end
# to end, against the stand-in service program through the front end's session.
target_link_libraries(test_${area} PRIVATE lk_cli)
add_dependencies(test_${area} lokavo-service)
