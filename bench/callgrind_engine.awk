# Per-frame cost of the engine library's own code from two callgrind profiles of bench_engine
# taken over different frame counts: start-up and shutdown cancel out in the difference.
# Usage: awk -v symbols=FILE -v frames1=N1 -v frames2=N2 -f callgrind_engine.awk OUT1 OUT2
#   symbols: the library's function names, one a line (nm -C of liborvane.a)
# Prints the library's own (self) instructions per frame, its functions by share, and the
# instructions per frame of the calls made into the library from outside, with all the OpenGL
# driver work they do inline (the rasterising of the queued quads happens in the swap, which
# is not the library's).

function resolve(text,    paren, id, rest) {
    if (substr(text, 1, 1) != "(") {
        return text
    }
    paren = index(text, ")")
    id = substr(text, 2, paren - 2)
    rest = substr(text, paren + 2)
    if (rest != "") {
        names[id] = rest
    }
    return names[id]
}

function plain(name) {
    # Callgrind marks recursion levels with 'N after the name.
    sub(/'[0-9]+$/, "", name)
    return name
}

BEGIN {
    while ((getline line < symbols) > 0) {
        engine[line] = 1
    }
    if (frames2 <= frames1) {
        print "callgrind_engine.awk: frames2 must exceed frames1" > "/dev/stderr"
        exit 2
    }
}

FNR == 1 {
    run = (FILENAME == ARGV[1]) ? 1 : 2
    split("", names)
    afterCalls = 0
}

/^fn=/ {
    fn = plain(resolve(substr($0, 4)))
    afterCalls = 0
    next
}
/^cfn=/ {
    cfn = plain(resolve(substr($0, 5)))
    next
}
/^calls=/ {
    afterCalls = 1
    next
}
/^[-+*0-9]/ {
    if (afterCalls) {
        # The line after calls= carries the call's inclusive cost.
        if ((cfn in engine) && !(fn in engine)) {
            entry[run] += $2
            entryBy[run, cfn] += $2
            entered[cfn] = 1
        }
        afterCalls = 0
    } else if (fn in engine) {
        self[run] += $2
        byFunction[run, fn] += $2
        seen[fn] = 1
    }
    next
}

END {
    frames = frames2 - frames1
    perFrame = (self[2] - self[1]) / frames
    printf "Engine library, own instructions per frame: %.0f\n", perFrame
    printf "  (callgrind, %d and %d frames, difference divided by %d)\n", frames1, frames2, frames
    printTop(seen, byFunction, perFrame, 10)
    perFrame = (entry[2] - entry[1]) / frames
    printf "Calls into the library, with the OpenGL work they do before the swap, per frame: %.0f\n", perFrame
    printTop(entered, entryBy, perFrame, 6)
}

# The largest per-frame differences of a table keyed by (run, function name), largest first.
function printTop(names, table, total, limit,    name, count, value, list, cost, i, j, key) {
    count = 0
    for (name in names) {
        value = (table[2, name] - table[1, name]) / frames
        if (value >= 0.5) {
            list[++count] = name
            cost[name] = value
        }
    }
    for (i = 2; i <= count; i++) {
        key = list[i]
        for (j = i - 1; j >= 1 && cost[list[j]] < cost[key]; j--) {
            list[j + 1] = list[j]
        }
        list[j + 1] = key
    }
    for (i = 1; i <= count && i <= limit; i++) {
        printf "  %9.0f  %5.1f%%  %s\n", cost[list[i]], 100 * cost[list[i]] / total, list[i]
    }
}
