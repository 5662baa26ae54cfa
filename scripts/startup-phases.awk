# Turns the probe events of one start-up (perf script -F time,event) into the
# time to the first frame and its phases, in milliseconds. Used by
# startup-time.sh.
{
  time = $1; sub(/:$/, "", time); time *= 1000
  name = $2; sub(/:$/, "", name); sub(/.*:/, "", name)
  if (frameDone) next
  # An entry-only probe lasts until the next event, whatever it is.
  if (pending != "") { total[pending] += time - pendingStart; pending = "" }
  if (name == "sched_process_exec") { if (!start) start = time; next }
  if (name == "modelLoad" || name == "imageLoad") { pending = name; pendingStart = time; count[name]++; next }
  if (name ~ /_end__return$/) {
    base = substr(name, 1, length(name) - 12)
    total[base] += time - opened[base]; count[base]++
    if (base == "onDisplay") frameDone = time
    next
  }
  opened[name] = time
  if (!(name in first)) first[name] = time
}
END {
  printf "run %d: first frame done %.0f ms after exec\n", run, frameDone - start
  printf "  exec to main %.0f | window and GL state %.0f | scene assembly %.0f | main loop to first frame %.0f | first frame %.0f\n",
    first["main"] - start, first["assembleScene"] - first["main"], total["assembleScene"],
    first["onDisplay"] - (first["assembleScene"] + total["assembleScene"]), total["onDisplay"]
  printf "  in the assembly: %d models %.0f | %d images read and decoded %.0f | %d uploads %.0f | shader %.0f | audio %.0f\n",
    count["modelLoad"], total["modelLoad"], count["imageLoad"], total["imageLoad"],
    count["uploadTexture"], total["uploadTexture"], total["buildBumpShader"], total["initAudio"]
}
