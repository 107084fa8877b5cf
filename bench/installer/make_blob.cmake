# Writes OUT: 64 MB of varied bytes, the size of a large carried program.
set(block "")
foreach(i RANGE 255)
  math(EXPR a "(${i} * 37 + 11) % 94 + 33")
  string(ASCII ${a} c)
  string(APPEND block "${c}")
endforeach()
string(REPEAT "${block}" 4096 megabyte)  # 1 MB
file(WRITE ${OUT} "")
foreach(i RANGE 63)
  file(APPEND ${OUT} "${megabyte}")
endforeach()
