-- wrk: POSTs valid game submissions, each with its own name and score so that every one is stored.
-- Encoded as the game encodes them, with the key given after "--" (the build's submission key).
local key = 48879
local counter = 0
thread_id = 0  -- set per thread by setup
local next_id = 0

function setup(thread)
  thread:set("thread_id", next_id)
  next_id = next_id + 1
end

function init(args)
  if args[1] then key = tonumber(args[1]) end
  math.randomseed(os.time() + thread_id * 7919)
end

local function encode(text)
  -- Encodes the bytes and answers them URL-encoded with the check value.
  local out, check = {}, 0
  for i = 1, #text do
    local pos = i - 1
    local b = (text:byte(i) + pos + key + 2) % 256
    check = (check + b + pos + key) % 4294967296
    local c = string.char(b)
    if c:match("%w") then
      out[#out + 1] = c
    elseif b == 32 then
      out[#out + 1] = "+"
    else
      out[#out + 1] = string.format("%%%02X", b)
    end
  end
  return table.concat(out), string.format("%d", check)
end

local summary = "Score: 1,234\r\nDungeon: 3\r\nDifficulty Mode: Normal\r\nDate: Sunday, December 06 2026\r\n" ..
  "Bosses Slain: 0\r\n\r\n- Word Statistics -\r\n\r\n3 letter words made: 12\r\n4 letter words made: 7\r\n"

function request()
  counter = counter + 1
  local name = string.format("W%d-%d-%d", thread_id, counter, math.random(0, 99999))
  local line = string.format("%d|%s|%d|%d|%d|", counter % 3, name:sub(1, 19), math.random(0, 2000000),
    math.random(1, 25), math.random(0, 5))
  local data, datacrc = encode(line)
  local extra, extracrc = encode(summary)
  local body = "version=2%2E05&data=" .. data .. "&datacrc=" .. datacrc .. "&extra=" .. extra .. "&extracrc=" .. extracrc
  return wrk.format("POST", "/splcryp/submit.php", {["Content-Type"] = "application/x-www-form-urlencoded"}, body)
end

function response(status, headers, body)
  if status ~= 200 then
    io.stderr:write("submission answered " .. status .. ": " .. body .. "\n")
  end
end
