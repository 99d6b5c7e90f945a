-- wrk: downloads the three lists as the game asks for them.
wrk.method = "POST"
wrk.path = "/splcryp/getscores.php"
wrk.body = "version=2%2E05"
wrk.headers["Content-Type"] = "application/x-www-form-urlencoded"

