# Batch tool checks: exit statuses, no output on errors, log round trip.
# Run as: cmake -DCLI=path/to/vorqtile-cli -DWORK=dir -P cli_tests.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(expect_status want)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL want)
    message(FATAL_ERROR "expected exit ${want}, got ${rc}: ${ARGN}\n${out}${err}")
  endif()
  set(LAST_OUT "${out}" PARENT_SCOPE)
  set(LAST_ERR "${err}" PARENT_SCOPE)
endfunction()

function(expect_match text regex what)
  if(NOT text MATCHES "${regex}")
    message(FATAL_ERROR "${what}: ${text}")
  endif()
endfunction()

# --list: one line per effect.
expect_status(0 "${CLI}" --list)
string(REGEX MATCHALL "\n" lines "${LAST_OUT}")
list(LENGTH lines n)
if(NOT n EQUAL 66)
  message(FATAL_ERROR "--list printed ${n} lines")
endif()
# Each: id, name, category, recorded name ("-" when none), the shown values at their defaults.
foreach(row "\n14\tDesign Your Own\tFilters\t-\t\n"
    "\n15\tSineWave U/D\tDistortions\tSineWave Up/Down\tPeaks = 3 (or Wavelength = 32), Height = 50\n"
    "\n63\tSeamless Edge\tDistortions\tSeamless Edge\tAmount = 16, Seams = Both\n"
    "\n65\tWhirl/Pinch\tDistortions\tWhirl/Pinch\tAngle = 270, Pinch (-1 to 1) = 0.50, Radius (0 to 2) = 1.00\n")
  string(FIND "${LAST_OUT}" "${row}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "--list lacks ${row}")
  endif()
endforeach()
expect_status(0 "${CLI}" --version)
expect_status(0 "${CLI}" --help)
expect_match("${LAST_OUT}" "^usage: vorqtile-cli " "--help printed")

# A recipe written with --log replays to the same log and the same image (a line of blanks is skipped).
file(WRITE "${WORK}/recipe.txt"
  "Soften More\n \t\nHiPass\nGaussian Blur, Blurriness 3\nClassic Emboss, Lightness 300\n"
  "Design Your Own Filter, Settings: 2 1 1 1 -3 -1 1 -1 -1 , Divisor 1\nDesign Your Own\nUnDo\n"
  "Split Blur, Amount 5\nSplit Gauss, Amount 2\n")
expect_status(0 "${CLI}" --new 37x23 --recipe "${WORK}/recipe.txt" --log "${WORK}/a.log" --output "${WORK}/a.bmp")
expect_status(0 "${CLI}" --new 37x23 --recipe "${WORK}/a.log" --log "${WORK}/b.log" --output "${WORK}/b.bmp")
file(READ "${WORK}/a.log" a)
file(READ "${WORK}/b.log" b)
if(NOT a STREQUAL b)
  message(FATAL_ERROR "log round trip differs:\n${a}\n---\n${b}")
endif()
expect_match("${a}" "^Log starts  - current Gradient: Width 37, Height 23, " "log header missing")
# Every line ends with CR LF (file(READ) as text drops the CRs, so read the bytes).
file(READ "${WORK}/a.log" hex HEX)
string(REGEX MATCHALL "0d0a|0a" breaks "${hex}")
list(REMOVE_DUPLICATES breaks)
if(NOT breaks STREQUAL "0d0a" OR NOT hex MATCHES "0d0a$")
  message(FATAL_ERROR "log lines must end with CR LF:\n${a}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/a.bmp" "${WORK}/b.bmp" RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "replayed image differs")
endif()

# Bad lines stop with status 2, name the line and write no output.
expect_status(2 "${CLI}" --new 8x8 Blur "Bogus Effect, Amount 3" --output "${WORK}/bad.bmp")
if(NOT LAST_ERR MATCHES "argument line 2" OR EXISTS "${WORK}/bad.bmp")
  message(FATAL_ERROR "unknown name: ${LAST_ERR}")
endif()
expect_status(2 "${CLI}" --new 8x8 "Gaussian Blur, Blurriness two" --output "${WORK}/bad.bmp")
expect_match("${LAST_ERR}" "'two' is not a valid integer value" "malformed value")
expect_status(2 "${CLI}" --new 0x8 Blur --output "${WORK}/bad.bmp")
# Usage errors: no output, --input with --new, a bad tiling or seed, an unknown option, a value missing.
foreach(args "--new;4x4;Blur" "--new;4x4;--input;${WORK}/missing.bmp;--output;${WORK}/bad.bmp"
    "--new;4x4;--tile;0x2;--output;${WORK}/bad.bmp" "--new;4x4;--seed;x;--output;${WORK}/bad.bmp"
    "--new;4x4;--bogus;--output;${WORK}/bad.bmp" "--new;4x4;--output" "--output;${WORK}/bad.bmp;--new")
  expect_status(2 "${CLI}" ${args})
endforeach()
expect_status(2 "${CLI}" --set NoSuchKey=3 --output "${WORK}/bad.bmp")

# A line that cannot be redrawn is skipped with a warning; the run goes on.
expect_status(0 "${CLI}" --new 4x4 "FreeHand Drawing, Pen Size 5, Pen Color R: 0 G: 128 B: 0" Blur
  --output "${WORK}/skipped.bmp")
expect_match("${LAST_ERR}" "^vorqtile-cli: warning: argument line 1: a free-hand drawing holds no path" "skipped line")

# Files that cannot be read or written: status 1.
expect_status(1 "${CLI}" --input "${WORK}/missing.bmp" --output "${WORK}/bad.bmp")
expect_status(1 "${CLI}" --new 4x4 --output "${WORK}/no/such/folder/x.bmp")
if(EXISTS "${WORK}/bad.bmp")
  message(FATAL_ERROR "an output file was written after an error")
endif()

# --settings reads a settings file as the editor does (blanks around "=" allowed); --set overrides it.
file(WRITE "${WORK}/VorqTile.ini" "[EffectVals]\r\nEffectVals6 = 250\r\nEffectVals13 = 4\r\n[MainForm]\r\nUndoLevels=2147483647\r\n")
expect_status(0 "${CLI}" --new 4x4 --settings "${WORK}/VorqTile.ini" --set EffectVals6=120 "Gaussian Blur"
  "Classic Emboss" --log "${WORK}/s.log" --output "${WORK}/s.bmp")
file(READ "${WORK}/s.log" s)
expect_match("${s}" "\nGaussian Blur, Blurriness 4\r?\nClassic Emboss, Lightness 120\r?\n" "--settings or --set value not used")
expect_match("${LAST_ERR}" "at most 1000" "UndoLevels above the limit not reported")

# The log is opened after the recipe is read and is never a file the run reads or writes.
file(WRITE "${WORK}/r.txt" "Blur\n")
file(COPY_FILE "${WORK}/s.bmp" "${WORK}/in.bmp")
expect_status(2 "${CLI}" --new 4x4 --recipe "${WORK}/r.txt" --log "${WORK}/r.txt" --output "${WORK}/bad.bmp")
expect_status(2 "${CLI}" --input "${WORK}/in.bmp" Bogus --log "${WORK}/../cli_work/in.bmp" --output "${WORK}/bad.bmp")
expect_status(2 "${CLI}" --new 4x4 --log "${WORK}/o.bmp" --output "${WORK}/o.bmp")
expect_status(2 "${CLI}" --new 4x4 --settings "${WORK}/VorqTile.ini" --log "${WORK}/VorqTile.ini" --output "${WORK}/bad.bmp")
expect_status(2 "${CLI}" --new 4x4 --buffer "${WORK}/in.bmp" --log "${WORK}/in.bmp" --output "${WORK}/bad.bmp")
file(READ "${WORK}/r.txt" r)
file(READ "${WORK}/in.bmp" in HEX LIMIT 2)
if(NOT r STREQUAL "Blur\n" OR NOT in STREQUAL "424d" OR EXISTS "${WORK}/o.bmp")
  message(FATAL_ERROR "the log clobbered a file: ${r} ${in}")
endif()
# A log that cannot be written is a file error.
expect_status(1 "${CLI}" --new 4x4 Blur --log /dev/full --output "${WORK}/bad.bmp")
expect_status(1 "${CLI}" --new 4x4 Blur --log "${WORK}/no/such/l.log" --output "${WORK}/bad.bmp")
# Only regular files are read: no waiting on a pipe, no reading a device without end.
execute_process(COMMAND mkfifo "${WORK}/pipe")
foreach(opt --input --recipe --settings --buffer)
  foreach(file "${WORK}/pipe" /dev/zero "${WORK}")
    execute_process(COMMAND "${CLI}" ${opt} "${file}" --output "${WORK}/bad.bmp" TIMEOUT 20
      RESULT_VARIABLE rc ERROR_VARIABLE err)
    if(NOT rc EQUAL 1 OR NOT err MATCHES "\"${file}\": it is (not a regular file|a folder)")
      message(FATAL_ERROR "${opt} ${file}: exit ${rc} ${err}")
    endif()
  endforeach()
endforeach()

# --tile lays the result N x M times from the top-left corner; a tiling beyond the size limit is refused.
expect_status(0 "${CLI}" --new 7x5 Rainbow --output "${WORK}/one.bmp")
expect_status(0 "${CLI}" --new 7x5 Rainbow --tile 3x2 --output "${WORK}/tiled.bmp")
file(READ "${WORK}/one.bmp" one HEX OFFSET 54)
file(READ "${WORK}/tiled.bmp" tiled HEX)
set(want "")
foreach(i RANGE 9)  # rows bottom-up, 24 and 64 bytes long
  math(EXPR at "${i} % 5 * 48")
  string(SUBSTRING "${one}" ${at} 42 row)
  string(APPEND want "${row}${row}${row}00")
endforeach()
string(FIND "${tiled}" "${want}" at)
string(SUBSTRING "${tiled}" 36 16 size)
if(NOT size STREQUAL "150000000a000000" OR NOT at EQUAL 108)
  message(FATAL_ERROR "tiled image is not 21 x 10 of the 7 x 5 image (rows found at ${at})")
endif()
expect_status(2 "${CLI}" --new 10000x10 --tile 2x1 --output "${WORK}/bad.bmp")

# --seed decides the random pixels: the same seed gives the same image, another seed another.
foreach(run 7a 7b 8c)
  string(SUBSTRING ${run} 0 1 seed)
  expect_status(0 "${CLI}" --new 16x16 --seed ${seed} "Plasma Cloud" --output "${WORK}/seed${run}.bmp")
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/seed7a.bmp" "${WORK}/seed7b.bmp" RESULT_VARIABLE same)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/seed7a.bmp" "${WORK}/seed8c.bmp" RESULT_VARIABLE other)
if(NOT same EQUAL 0 OR other EQUAL 0)
  message(FATAL_ERROR "--seed does not decide the random pixels")
endif()

# Pasting an empty buffer, or a command refused with a message, stops the run.
expect_status(2 "${CLI}" --new 4x4 "Paste Buffer to Image" --output "${WORK}/bad.bmp")
expect_status(2 "${CLI}" --new 4x3 "Rotate Seamless" --output "${WORK}/bad.bmp")

# --seam-report alone: a flat image has no seam, and nothing is written.
expect_status(0 "${CLI}" --new 5x3 --seam-report)
expect_match("${LAST_OUT}" "^seams: 1\\.00 \\(left/right 1\\.00, top/bottom 1\\.00\\)\n$" "--seam-report printed")

# --buffer feeds Merge Buffer: at 100 % the image becomes the buffer.
expect_status(0 "${CLI}" --new 9x7 Rainbow --output "${WORK}/rainbow.bmp")
expect_status(0 "${CLI}" --new 9x7 --buffer "${WORK}/rainbow.bmp" "Merge Buffer, % of Buffer 100"
  --output "${WORK}/merged.bmp")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/rainbow.bmp" "${WORK}/merged.bmp" RESULT_VARIABLE same)
expect_status(0 "${CLI}" --input "${WORK}/rainbow.bmp" Negative "Image Reset" --output "${WORK}/reset.bmp")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/rainbow.bmp" "${WORK}/reset.bmp" RESULT_VARIABLE reset)
expect_status(0 "${CLI}" --new 2x2 "Open File ${WORK}/rainbow.bmp" Negative "Image Reset" Negative UnDo
  --output "${WORK}/undone.bmp")
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${WORK}/rainbow.bmp" "${WORK}/undone.bmp" RESULT_VARIABLE undone)
if(NOT same EQUAL 0 OR NOT reset EQUAL 0 OR NOT undone EQUAL 0)
  message(FATAL_ERROR "Merge Buffer at 100 % did not give the buffer, or Image Reset or UnDo not the image opened")
endif()

# The gradient commands outside the effect list on tiny and lopsided images with hostile values.
set(gradient_lines)
foreach(style Vertical VertCenter Horizontal HorizCenter Rectangle Elliptic Radial1 Radial2)
  list(APPEND gradient_lines "Design Gradient, Width 1, Height 1, Gradient ${style}, From Color R: 1 G: 2 B: 3, To Color R: 250 G: 0 B: 9, Angle 2147483647"
    "Paste Gradient to Image")
endforeach()
foreach(size 1x1 1x7 7x1 2x2 4097x3)
  expect_status(0 "${CLI}" --new ${size} ${gradient_lines} Rainbow
    "MultiGradient,  Width 1, Height 1, Back Color R: 1 G: 2 B: 3, Left Color R: 0 G: 0 B: 0, Right Color R: 0 G: 0 B: 0, Left Position 5, Right Position -3"
    --output "${WORK}/gradients_${size}.bmp")
endforeach()

# Progress shows only on a terminal's standard error (script gives one), and
# never with --quiet: one line redrawn with CR, wiped at the end.
set(long_line "Twist, Looseness 300")
expect_status(0 "${CLI}" --new 4096x4096 "${long_line}" --output "${WORK}/twist_plain.bmp")
expect_match("${LAST_ERR}" "^$" "progress written to a file")
find_program(SCRIPT script)
if(SCRIPT)
  foreach(quiet "" "--quiet")
    execute_process(COMMAND ${SCRIPT} -qec "'${CLI}' ${quiet} --new 4096x4096 '${long_line}' --output '${WORK}/t.bmp'" /dev/null
      RESULT_VARIABLE rc OUTPUT_VARIABLE out)
    if(quiet AND NOT out STREQUAL "")
      message(FATAL_ERROR "--quiet still draws progress: ${out}")
    elseif(NOT quiet AND NOT out MATCHES "^\r\\[line 1/1\\] Twist +[0-9]+%.*\r +\r$")
      message(FATAL_ERROR "no progress line on a terminal: ${out}")
    endif()
  endforeach()
endif()
# A bad recipe line is named by the recipe's file and its line number, counted from 1.
file(WRITE "${WORK}/bad_recipe.txt" "Blur\nBogus Effect, Amount 3\n")
expect_status(2 "${CLI}" --new 8x8 --recipe "${WORK}/bad_recipe.txt" --output "${WORK}/bad.bmp")
expect_match("${LAST_ERR}" "bad_recipe.txt:2: " "recipe line not named")
