# The committed pictures are the ones the generator draws (Debian's python3-pil and fonts draw
# them; scripts/install-deps.sh installs both).
add_test(NAME pictures_match_their_drawings
  COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/scripts/make-pictures.py --check)
set_tests_properties(pictures_match_their_drawings PROPERTIES TIMEOUT 300)
