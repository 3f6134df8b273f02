# The broadcast screens are driven on the fake transport (scripted answers, virtual time).
target_link_libraries(test_${area} PRIVATE lk_cli)
