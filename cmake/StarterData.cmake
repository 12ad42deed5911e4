# Removes the nutrient data files beside the program other than DATA, the one the build ships (run
# with cmake -DDATA=... -DFOLDER=... -P): an older release would sort first and be offered instead.
get_filename_component(shipped "${DATA}" NAME)
file(GLOB present "${FOLDER}/NutrientData*.csv")
foreach(file ${present})
  get_filename_component(name "${file}" NAME)
  if(NOT name STREQUAL shipped)
    file(REMOVE "${file}")
  endif()
endforeach()
